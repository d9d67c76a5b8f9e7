#include "app/KeyboardDialog.h"
#include "actions/BrowserPlayerKeys.h"
#include "actions/LaunchKeys.h"
#include "actions/WindowTargeting.h"
#include "mixer/SoundKeys.h"

// The key table: the one place where keys are bound to actions. A KeyCode
// runs the row whose value it equals; two keys held together match nothing.
namespace {

struct KeyContext {
    KeyboardDialog& dialog;
    DWORD keyCode;
    const char* windowsDirectory;
};

struct KeyRow {
    DWORD keyCode;
    void (*run)(const KeyContext& key);
};

void AllReleased(const KeyContext& key) { StopRepeat(key.dialog); }
void MyComputer(const KeyContext& key) { LaunchMyComputer(key.windowsDirectory); }
void WebSearch(const KeyContext& key) { LaunchWebSearch(key.dialog.m_hWnd); }
void HomePage(const KeyContext&) { LaunchHomePage(); }
void Browser(const KeyContext& key) { BrowserKey(key.dialog.m_hWnd, key.keyCode); }
void VolumeUp(const KeyContext& key) { StartRepeat(key.dialog, RepeatVolumeUp); }
void VolumeDown(const KeyContext& key) { StartRepeat(key.dialog, RepeatVolumeDown); }
void BassUp(const KeyContext& key) { StartRepeat(key.dialog, RepeatBassUp); }
void BassDown(const KeyContext& key) { StartRepeat(key.dialog, RepeatBassDown); }
void TrebleUp(const KeyContext& key) { StartRepeat(key.dialog, RepeatTrebleUp); }
void TrebleDown(const KeyContext& key) { StartRepeat(key.dialog, RepeatTrebleDown); }
void Mail(const KeyContext& key) { LaunchMail(key.dialog.m_hWnd); }
void Calculator(const KeyContext& key) { LaunchCalculator(key.windowsDirectory); }
void Player(const KeyContext& key) { PlayerKey(key.keyCode); }
void Mute(const KeyContext&) { ToggleMute(); }
void Loudness(const KeyContext&) { ToggleLoudness(); }
void MediaPlayer(const KeyContext& key) { LaunchMediaPlayer(key.dialog.m_hWnd); }

const KeyRow kKeyTable[] = {
    { 0x000000, AllReleased },
    { 0x000001, MyComputer },
    { 0x000002, WebSearch },
    { 0x000004, HomePage },
    { 0x000008, Browser },      // back
    { 0x000010, Browser },      // forward
    { 0x000020, Browser },      // stop
    { 0x000040, Browser },      // refresh
    { 0x000080, Browser },      // favourites
    { 0x000100, VolumeUp },
    { 0x000200, VolumeDown },
    { 0x000400, BassUp },
    { 0x000800, BassDown },
    { 0x001000, TrebleUp },
    { 0x002000, TrebleDown },
    { 0x004000, Mail },
    { 0x008000, Calculator },
    { 0x010000, Player },       // next track
    { 0x020000, Player },       // previous track
    { 0x040000, Player },       // media stop
    { 0x080000, Player },       // play/pause
    { 0x100000, Mute },
    { 0x400000, Loudness },
    { 0x800000, MediaPlayer },
};

}  // namespace

LRESULT KeyboardDialog::OnKeyboardKeys(WPARAM, LPARAM lParam)
{
    const DWORD keyCode = static_cast<DWORD>(lParam);
    // Room for any Windows directory; one that cannot be read is left empty,
    // and the rows that need it then start nothing.
    char windowsDirectory[MAX_PATH];
    ReadWindowsDirectory(windowsDirectory, sizeof windowsDirectory);
    ClearTargetWindow();

    const KeyContext key = { *this, keyCode, windowsDirectory };
    for (const KeyRow& row : kKeyTable) {
        if (row.keyCode == keyCode) {
            row.run(key);
            break;
        }
    }
    return 0;
}
