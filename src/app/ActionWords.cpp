#include "app/ActionWords.h"
#include "fw/BoundedText.h"
#include "fw/ResourceLanguage.h"
#include "res/resource.h"

namespace {

// Faults not listed here are told by the action's hint alone.
const struct {
    AssignmentFault fault;
    UINT text;
} kFaultTexts[] = {
    { AssignmentFault::kNotAKey, IDS_FAULT_NOT_A_KEY },   { AssignmentFault::kNoKey, IDS_FAULT_NO_KEY },
    { AssignmentFault::kTooManyChords, IDS_FAULT_TOO_MANY_CHORDS }, { AssignmentFault::kNoClass, IDS_FAULT_NO_CLASS },
    { AssignmentFault::kNoNumber, IDS_FAULT_NO_NUMBER }, { AssignmentFault::kBadNumber, IDS_FAULT_BAD_NUMBER },
};

}  // namespace

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

void DescribeRefusal(AssignmentKind kind, const AssignmentProblem& problem, char* text, int size)
{
    char format[400], fault[sizeof format + kAssignmentTextSize] = "", keys[160], hint[sizeof format + sizeof keys];
    for (const auto& f : kFaultTexts)
        if (f.fault == problem.fault && LoadLocalString(f.text, format, sizeof format) > 0)
            FormatText(fault, sizeof fault, format, problem.part);
    ChordKeyWords(keys, sizeof keys, ", ");
    LoadLocalString(KindRow(kind).hintText, format, sizeof format);
    FormatText(hint, sizeof hint, format, keys);
    JoinText(text, size, fault, fault[0] ? "\n\n" : "", hint);
}
