#include "app/ActionWords.h"
#include "fw/BoundedText.h"
#include "fw/ResourceLanguage.h"
#include "res/resource.h"

void KeyDisplayName(AssignableKey key, char* text, int size)
{
    if (LoadLocalString(IDS_KEY_NAMES + static_cast<int>(key), text, size) == 0)
        lstrcpynA(text, kAssignableKeyNames[static_cast<int>(key)], size);
}

void DescribeAction(int kind, const char* argument, char* text, int size)
{
    char words[64];
    if (kind == kNotUnderstood) {
        LoadLocalString(IDS_WORDS_NOT_UNDERSTOOD, words, sizeof words);
        JoinText(text, size, words, argument[0] ? ": " : "", argument);
        return;
    }
    LoadLocalString(IDS_WORDS + kind, words, sizeof words);
    const bool hasArgument = kind != static_cast<int>(AssignmentKind::kStandard) &&
                             kind != static_cast<int>(AssignmentKind::kNothing);
    JoinText(text, size, words, hasArgument ? argument : "");
}
