#include "actions/KeyRepeat.h"
#include "actions/SoundKeyActions.h"

RepeatTimer PressFader(RepeatState& repeat, RepeatMode mode, KeyboardKind keyboard, HWND settingsPage)
{
    if (!FaderAvailable(mode)) return EndRepeat(repeat);
    repeat.mode = mode;
    if (keyboard != KeyboardKind::kStandard) return kRepeatPeriodMs;
    StepFaderAndShow(settingsPage, mode);
    return kRepeatDelayMs;
}

RepeatTimer EndRepeat(RepeatState& repeat)
{
    if (repeat.mode == RepeatMode::kNone) return kLeaveTimer;
    repeat.mode = RepeatMode::kNone;
    return kStopTimer;
}

RepeatTimer TickRepeat(RepeatState& repeat, HWND settingsPage)
{
    if (repeat.mode == RepeatMode::kNone) return kLeaveTimer;
    StepFaderAndShow(settingsPage, repeat.mode);
    return kRepeatPeriodMs;
}
