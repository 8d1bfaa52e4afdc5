#include "ui/hover.h"

#include "ui/layout.h"

namespace {

struct HoverSlot {
  HotRegion region;
  uint8_t HoverFlags::*flag;
  SkinBlock image;
};

// Step 2 order, then the two that freeze while watching.
constexpr HoverSlot kAlwaysSlots[] = {
    {HotRegion::Close, &HoverFlags::close, {694, 0, 35, 34, 449, 9}},
    {HotRegion::Minimise, &HoverFlags::minimise, {729, 0, 39, 34, 402, 9}},
    {HotRegion::About, &HoverFlags::about, {698, 98, 70, 32, 416, 278}},
    {HotRegion::Reading, &HoverFlags::reading, {698, 130, 70, 32, 172, 334}},
    {HotRegion::Sound, &HoverFlags::sound, {698, 34, 70, 32, 97, 334}},
    {HotRegion::Language, &HoverFlags::language, {698, 66, 70, 32, 23, 334}},
    {HotRegion::DishAlignment, &HoverFlags::dishAlignment, {698, 162, 70, 32, 263, 278}},
};
constexpr HoverSlot kIdleSlots[] = {
    {HotRegion::Start, &HoverFlags::start, {512, 0, 60, 65, 395, 115}},
    {HotRegion::Sort, &HoverFlags::sort, {664, 0, 30, 25, 43, 108}},
};

void addBlock(HoverPlan& plan, const SkinBlock& block) {
  if (plan.count < HoverPlan::kCapacity) plan.steps[plan.count++] = {HoverDraw::Block, block, {}};
}

void addWebText(HoverPlan& plan, TextColour colour) {
  if (plan.count < HoverPlan::kCapacity) plan.steps[plan.count++] = {HoverDraw::WebText, {}, colour};
}

void updateSlot(HoverPlan& plan, HoverFlags& flags, const HoverSlot& slot, bool inside) {
  uint8_t& flag = flags.*slot.flag;
  if (inside && flag == 0) {
    addBlock(plan, slot.image);
    flag = 1;
  } else if (!inside && flag == 1) {
    addBlock(plan, backgroundBlock(slot.image));
    flag = 0;
  }
}

void updateAddRemove(HoverPlan& plan, HoverFlags& flags, bool inside, int y) {
  if (inside && !isAddHalf(y)) {
    if (flags.remove == 1) return;
    addBlock(plan, kRemoveHoverImage);
    addBlock(plan, backgroundBlock(kAddHoverImage));
    flags.remove = 1;
    flags.add = 0;
  } else if (inside) {
    if (flags.add == 1) return;
    addBlock(plan, kAddHoverImage);
    addBlock(plan, backgroundBlock(kRemoveHoverImage));
    flags.add = 1;
    flags.remove = 0;
  } else if (flags.add == 1) {
    addBlock(plan, backgroundBlock(kAddHoverImage));
    flags.add = 0;
  } else if (flags.remove == 1) {
    addBlock(plan, backgroundBlock(kRemoveHoverImage));
    flags.remove = 0;
  }
}

}  // namespace

SkinBlock hoverImage(HotRegion region) {
  for (const HoverSlot& slot : kAlwaysSlots)
    if (slot.region == region) return slot.image;
  for (const HoverSlot& slot : kIdleSlots)
    if (slot.region == region) return slot.image;
  if (region == HotRegion::AddRemove) return kAddHoverImage;
  return {0, 0, 0, 0, 0, 0};
}

HoverPlan updateHover(HoverFlags& flags, int x, int y, bool watching, InsideTest inside) {
  HoverPlan plan;
  const bool onWebLink = inside(HotRegion::WebLink, x, y);
  if (onWebLink && flags.webLink == 0) {
    addWebText(plan, kWebHoverColour);
    flags.webLink = 1;
  } else if (!onWebLink && flags.webLink == 1) {
    addWebText(plan, kTextColour);
    flags.webLink = 0;
  }
  for (const HoverSlot& slot : kAlwaysSlots) updateSlot(plan, flags, slot, inside(slot.region, x, y));
  if (watching) return plan;
  for (const HoverSlot& slot : kIdleSlots) updateSlot(plan, flags, slot, inside(slot.region, x, y));
  updateAddRemove(plan, flags, inside(HotRegion::AddRemove, x, y), y);
  return plan;
}
