#include "app/ActionWords.h"
#include "fw/BoundedText.h"
#include "fw/ResourceLanguage.h"
#include "res/resource.h"

void KeyDisplayName(USAGE usage, char* text, int size)
{
    if (IDS_KEY_NAMES + usage < IDS_KEY_NAMES_END && LoadLocalString(IDS_KEY_NAMES + usage, text, size) > 0) return;
    char format[32], name[sizeof format + 8];
    LoadLocalString(IDS_KEY_UNNAMED, format, sizeof format);
    wsprintfA(name, format, usage);
    lstrcpynA(text, name, size);
}

void DescribeAction(const ShownAction& shown, char* text, int size)
{
    char words[64];
    if (!shown.understood) {
        LoadLocalString(IDS_WORDS_NOT_UNDERSTOOD, words, sizeof words);
        JoinText(text, size, words, shown.argument[0] ? ": " : "", shown.argument);
        return;
    }
    const AssignmentKindRow& kind = KindRow(shown.kind);
    LoadLocalString(kind.shownText, words, sizeof words);
    JoinText(text, size, words, kind.takesArgument ? shown.argument : "");
}
