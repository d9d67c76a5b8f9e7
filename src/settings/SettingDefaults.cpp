#include "settings/SettingDefaults.h"
#include "fw/BoundedText.h"
#include "settings/SettingsStore.h"

const char kDefaultSearchAddress[] = "http://www.yahoo.com/";

const ProgramDefault kMailDefault = {
    "SOFTWARE\\Microsoft\\Outlook Express", "InstallRoot", "msimn.exe",
};
const ProgramDefault kMediaDefault = {
    "SOFTWARE\\Microsoft\\MediaPlayer", "Installation Directory", "mplayer2.exe",
};

void ComposeProgramDefault(const ProgramDefault& program, char* text, int size)
{
    char installDirectory[kSettingTextSize];
    if (ReadRegistryText(HKEY_LOCAL_MACHINE, program.installKey, program.installValue, installDirectory,
                         sizeof installDirectory))
        JoinText(text, size, installDirectory, "\\", program.fileName);
    else
        JoinText(text, size, program.fileName, "");
}
