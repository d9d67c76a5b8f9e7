#include "actions/KeyRepeat.h"
#include "actions/SoundKeyActions.h"

RepeatTimer PressFader(RepeatState& repeat, RepeatMode mode)
{
    if (!FaderAvailable(mode)) return kLeaveTimer;
    // No step now: the first comes with the first tick.
    repeat.mode = mode;
    repeat.ticked = false;
    return kRepeatPeriodMs;
}

RepeatTimer ReleaseFaders(RepeatState& repeat, KeyboardKind keyboard, HWND settingsPage)
{
    if (repeat.mode == RepeatMode::kNone) return kLeaveTimer;
    if (!repeat.ticked && keyboard == KeyboardKind::kStandard) StepFaderAndShow(settingsPage, repeat.mode);
    repeat.mode = RepeatMode::kNone;
    return kStopTimer;
}

RepeatTimer TickRepeat(RepeatState& repeat, HWND settingsPage)
{
    if (repeat.mode == RepeatMode::kNone) return kLeaveTimer;
    repeat.ticked = true;
    StepFaderAndShow(settingsPage, repeat.mode);
    return kRepeatPeriodMs;
}
