// The auto-repeat of the fader keys (volume, bass, treble): while one is
// held its fader steps every 100 ms. The module owns no timer: every call
// says when it wants its next tick, and the window that owns the timer only
// arms or kills it. The tap rule, which differs by kind of keyboard, lives
// here too.
#pragma once
#include <windows.h>
#include "keyboard/KeyboardDevice.h"
#include "mixer/SoundKeys.h"

// The repeat's whole state, held by the window that owns its timer.
struct RepeatState {
    RepeatMode mode;  // kNone while no fader key is held
    bool ticked;      // whether a tick has come since the fader key was pressed
};

const UINT kRepeatPeriodMs = 100;

// What the timer's owner does after a call: arm the timer for that many
// milliseconds (restarting it when it runs), or one of these.
typedef int RepeatTimer;
const RepeatTimer kStopTimer = 0;
const RepeatTimer kLeaveTimer = -1;

// A fader key pressed: its mode replaces any running one. The timer is left
// alone when the fader is not on the card.
RepeatTimer PressFader(RepeatState& repeat, RepeatMode mode);
// All keys released. A volume knob, or a quick tap, on a standard keyboard
// presses and releases a fader key within milliseconds, before the first
// tick: such a release makes the one step the tick would have made. The
// maker's models keep the rule that a press shorter than a tick changes
// nothing. settingsPage decides whether the level display shows the step.
RepeatTimer ReleaseFaders(RepeatState& repeat, KeyboardKind keyboard, HWND settingsPage);
// A tick of the timer: one step of the running mode; a tick already queued
// when the keys were released finds kNone and does nothing.
RepeatTimer TickRepeat(RepeatState& repeat, HWND settingsPage);
