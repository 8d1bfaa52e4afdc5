#include "core/globals.h"

SettingsRecord settingsRecord{};
SignalState signalState;
TuningValues tuningValues;
std::atomic<int32_t> autoToneCounter{0};
