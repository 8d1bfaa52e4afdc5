#include "app/hover.h"

#include "app/commands.h"

namespace {

struct HoverSlot {
  HotRegion region;
  uint8_t HoverFlags::*flag;
};

// Step 2 order, then the two that freeze while watching.
constexpr HoverSlot kAlwaysSlots[] = {
    {HotRegion::Close, &HoverFlags::close},
    {HotRegion::Minimise, &HoverFlags::minimise},
    {HotRegion::About, &HoverFlags::about},
    {HotRegion::Reading, &HoverFlags::reading},
    {HotRegion::Sound, &HoverFlags::sound},
    {HotRegion::Language, &HoverFlags::language},
    {HotRegion::DishAlignment, &HoverFlags::dishAlignment},
};
constexpr HoverSlot kIdleSlots[] = {
    {HotRegion::Start, &HoverFlags::start},
    {HotRegion::Sort, &HoverFlags::sort},
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
    addBlock(plan, hotRegionShape(slot.region).hover);
    flag = 1;
  } else if (!inside && flag == 1) {
    addBlock(plan, backgroundBlock(hotRegionShape(slot.region).hover));
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
  if (region == HotRegion::AddRemove) return kAddHoverImage;
  return hotRegionShape(region).hover;
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
