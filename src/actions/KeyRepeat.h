// The auto-repeat of the fader keys (volume, bass, treble): while one is
// held alone its fader steps every 100 ms. The module owns no timer: every call
// says when it wants its next tick, and the window that owns the timer only
// arms or kills it.
//
// When the first step comes depends on the keyboard. A standard keyboard's
// key steps as it goes down, then, held, repeats after a pause, as every
// keyboard's own keys do: a volume knob's notch, a press and release within
// milliseconds, is exactly one step. The maker's models keep their rule:
// the first step comes with the first tick, so a press shorter than a tick
// changes nothing.
#pragma once
#include <windows.h>
#include "keyboard/KeyboardDevice.h"
#include "mixer/SoundKeys.h"

// The repeat's whole state, held by the window that owns its timer.
struct RepeatState {
    RepeatMode mode;  // kNone while no fader key is held
};

const UINT kRepeatPeriodMs = 100;
// A standard keyboard's pause between the step at the press and the repeat.
const UINT kRepeatDelayMs = 400;

// What the timer's owner does after a call: arm the timer for that many
// milliseconds (restarting it when it runs), or one of these.
typedef int RepeatTimer;
const RepeatTimer kStopTimer = 0;
const RepeatTimer kLeaveTimer = -1;

// A fader key pressed alone and left as it is: its mode replaces any running
// one; when the fader is not on the card, the steps end as at any other
// key. settingsPage decides whether the level display shows a step.
RepeatTimer PressFader(RepeatState& repeat, RepeatMode mode, KeyboardKind keyboard, HWND settingsPage);
// Every other KeyCode ends the steps: all keys released; any other key, a
// fader key its owner assigned another action among them; and two or more
// keys held together, which do nothing else either. When one of two is let
// go, the one still held comes as a KeyCode of its own and acts as a fresh
// press.
RepeatTimer EndRepeat(RepeatState& repeat);
// A tick of the timer: one step of the running mode; a tick already queued
// when the keys were released finds kNone and does nothing.
RepeatTimer TickRepeat(RepeatState& repeat, HWND settingsPage);
