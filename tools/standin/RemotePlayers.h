// Winamp, Apollo and QCD as other programs see them: the class of the main
// window, the commands it takes and the question it answers with what it is
// doing. Spelt out here as each player publishes it rather than taken from
// MMKeyboard: the stand-in checks the program, not the other way round.
#pragma once
#include <windows.h>

enum PlayEffect { kPreviousTrack, kPlay, kPause, kStop, kNextTrack, kEffectCount };
const char* const kEffectWords[kEffectCount] = { "Previous track", "Play", "Pause", "Stop", "Next track" };
enum PlayState { kStopped, kPlaying, kPaused };
const char* const kStateWords[] = { "Stopped", "Playing", "Paused" };

struct RemotePlayer {
    const char* exeName;
    const char* windowClass;
    const char* playlistTitle;       // its second window, of the stand-in's own class
    UINT commandMessage;             // the command is its wParam
    WPARAM commands[kEffectCount];   // by PlayEffect
    UINT askMessage;                 // the question, with exactly these parameters
    WPARAM askWParam;
    LPARAM askLParam;
    LRESULT answers[3];              // by PlayState; QCD answers its elapsed time instead
    bool answersElapsedTime;
};

const RemotePlayer kRemotePlayers[] = {
    { "winamp.exe", "Winamp v1.x", "Winamp Playlist Editor", WM_COMMAND, { 40044, 40045, 40046, 40047, 40048 },
      WM_USER, 0, 104, { 0, 1, 3 }, false },
    { "apollo.exe", "Apollo - Main Window", "Apollo Playlist", WM_USER + 3, { 10, 12, 13, 11, 14 },
      WM_USER + 3, 1, 0, { 0, 1, 2 }, false },
    { "qcd.exe", "PlayerCanvas", "QCD Playlist", WM_COMMAND, { 40012, 40016, 40015, 40014, 40013 },
      WM_USER + 1065, 0, -1, { 0, 0, 0 }, true },
};

struct RemotePlayerState {
    PlayState state;
    LONG elapsedMs;  // above 0 while playing or paused
};

inline const RemotePlayer* FindRemotePlayer(const char* exeName)
{
    for (const RemotePlayer& player : kRemotePlayers)
        if (lstrcmpiA(player.exeName, exeName) == 0) return &player;
    return NULL;
}

// What follows the program on a command line, without blanks around it.
inline void ArgumentOf(const char* commandLine, char* argument, int size)
{
    const bool quoted = *commandLine == '"';
    const char* c = commandLine + (quoted ? 1 : 0);
    while (*c && *c != (quoted ? '"' : ' ')) ++c;
    if (*c == '"') ++c;
    while (*c == ' ') ++c;
    lstrcpynA(argument, c, size);
    for (int i = lstrlenA(argument) - 1; i >= 0 && argument[i] == ' '; --i) argument[i] = '\0';
}

// The state it starts in, from MMK_STUB_STATE or else the word after the
// program on its command line (the try-out run's Start, Run): playing,
// paused, stopped (the default), or an elapsed time in milliseconds,
// playing when above 0.
inline RemotePlayerState StartingState(const char* commandLine)
{
    char text[32];
    const DWORD length = GetEnvironmentVariableA("MMK_STUB_STATE", text, sizeof text);
    if (length == 0 || length >= sizeof text) ArgumentOf(commandLine, text, sizeof text);
    if (!lstrcmpiA(text, "playing")) return { kPlaying, 61000 };
    if (!lstrcmpiA(text, "paused")) return { kPaused, 61000 };
    LONG elapsedMs = 0;
    for (const char* c = text; *c >= '0' && *c <= '9'; ++c) elapsedMs = elapsedMs * 10 + (*c - '0');
    return { elapsedMs > 0 ? kPlaying : kStopped, elapsedMs };
}

inline bool IsQuestion(const RemotePlayer& player, UINT message, WPARAM wParam, LPARAM lParam)
{
    return message == player.askMessage && wParam == player.askWParam && lParam == player.askLParam;
}

inline LRESULT Answer(const RemotePlayer& player, const RemotePlayerState& now)
{
    return player.answersElapsedTime ? now.elapsedMs : player.answers[now.state];
}

// The words of the command the message carries, after taking it as the
// player would (pause toggles between playing and paused and does nothing
// while stopped); NULL when it carries none.
inline const char* TakeCommand(const RemotePlayer& player, RemotePlayerState* now, UINT message, WPARAM wParam)
{
    if (message != player.commandMessage) return NULL;
    for (int effect = 0; effect < kEffectCount; ++effect) {
        if (player.commands[effect] != wParam) continue;
        if (effect == kPlay) {
            now->state = kPlaying;
            if (now->elapsedMs == 0) now->elapsedMs = 1;
        }
        if (effect == kPause && now->state != kStopped) now->state = now->state == kPlaying ? kPaused : kPlaying;
        if (effect == kStop) *now = { kStopped, 0 };
        return kEffectWords[effect];
    }
    return NULL;
}
