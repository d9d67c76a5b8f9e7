// The Browse buttons: the file dialog they ask for, and what its answer
// does to the edit control. A stand-in answers for the user.
#include <gtest/gtest.h>
#include <string>
#include "settings/ProgramFileDialog.h"
#include "settings_test_support.h"

using namespace settings_test;

namespace {

struct DialogRequest {
    int runs = 0;
    OPENFILENAMEA ofn = {};
    std::string filter;  // separators shown as '|'
    std::string title;
    std::string initialFile;
};

DialogRequest g_request;
INT_PTR g_answer = IDCANCEL;
const char* g_chosenPath = "";

INT_PTR AnswerFileDialog(CFileDialog& dialog)
{
    ++g_request.runs;
    g_request.ofn = dialog.m_ofn;
    g_request.title = dialog.m_ofn.lpstrTitle ? dialog.m_ofn.lpstrTitle : "";
    g_request.initialFile = dialog.m_ofn.lpstrFile ? dialog.m_ofn.lpstrFile : "";
    g_request.filter.clear();
    for (const char* p = dialog.m_ofn.lpstrFilter; p && *p; p += lstrlenA(p) + 1)
        g_request.filter += std::string(p) + "|";
    if (g_answer == IDOK) lstrcpynA(dialog.m_ofn.lpstrFile, g_chosenPath, dialog.m_ofn.nMaxFile);
    return g_answer;
}

class BrowseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetRegistry(NULL, NULL);
        ASSERT_TRUE(page.Create());
        g_request = DialogRequest();
        RunProgramFileDialog = AnswerFileDialog;
    }
    void TearDown() override { RunProgramFileDialog = RunFileDialogModally; }
    PageDialog page;
};

const struct {
    int button, edit, other;
} kButtons[] = {
    { IDC_MAIL_BROWSE, IDC_MAIL, IDC_MEDIA },
    { IDC_MEDIA_BROWSE, IDC_MEDIA, IDC_MAIL },
};

TEST_F(BrowseTest, OpenReplacesTheWholeCommandLineWithTheChosenPath)
{
    const std::string longPath = "C:\\" + Repeat('d', 200) + "\\Program Files\\player.exe";
    for (const auto& b : kButtons) {
        for (const char* chosen : { "C:\\Program Files\\Mail Tool\\mail.exe", longPath.c_str() }) {
            page.SetText(b.edit, "C:\\old\\program.exe /with arguments");
            page.SetText(b.other, "untouched");
            g_answer = IDOK;
            g_chosenPath = chosen;
            page.Command(b.button);
            EXPECT_EQ(std::string(chosen), page.Text(b.edit)) << b.button;
            EXPECT_EQ("untouched", page.Text(b.other)) << b.button;
        }
    }
    EXPECT_FALSE(SettingsKeyExists());
}

TEST_F(BrowseTest, CancelLeavesTheCommandLineAsItWas)
{
    for (const auto& b : kButtons) {
        page.SetText(b.edit, "C:\\old\\program.exe /with arguments");
        g_answer = IDCANCEL;
        g_chosenPath = "C:\\never.exe";
        page.Command(b.button);
        EXPECT_EQ("C:\\old\\program.exe /with arguments", page.Text(b.edit)) << b.button;
        EXPECT_EQ(1, g_request.runs) << b.button;
        g_request.runs = 0;
    }
    EXPECT_FALSE(SettingsKeyExists());
}

TEST_F(BrowseTest, TheDialogAsksForAnExistingProgramUnderNewApplication)
{
    page.SetText(IDC_MAIL, "C:\\current\\mail.exe");
    g_answer = IDCANCEL;
    page.Command(IDC_MAIL_BROWSE);
    ASSERT_EQ(1, g_request.runs);
    const OPENFILENAMEA& ofn = g_request.ofn;
    EXPECT_EQ((DWORD)OPENFILENAME_SIZE_VERSION_400A, ofn.lStructSize);
    EXPECT_EQ("New Application", g_request.title);
    EXPECT_EQ("Executable Files (*.exe)|*.exe|All Files (*.*)|*.*|", g_request.filter);
    EXPECT_EQ(1u, ofn.nFilterIndex);
    EXPECT_EQ((DWORD)(OFN_FILEMUSTEXIST | OFN_LONGNAMES), ofn.Flags & (OFN_FILEMUSTEXIST | OFN_LONGNAMES));
    EXPECT_EQ(0u, ofn.Flags & (OFN_ALLOWMULTISELECT | OFN_CREATEPROMPT | OFN_OVERWRITEPROMPT));
    EXPECT_EQ(page.m_hWnd, ofn.hwndOwner);
    EXPECT_EQ("", g_request.initialFile);  // the current text is not offered
    EXPECT_EQ(NULL, ofn.lpstrInitialDir);
    EXPECT_EQ(NULL, ofn.lpstrDefExt);
    EXPECT_GE(ofn.nMaxFile, (DWORD)MAX_PATH);
}

}  // namespace
