// The Browse buttons with the platform's real file-open dialog, answered by
// a helper thread as a user would: type a file name and press Open, or Cancel.
#include <gtest/gtest.h>
#include <windows.h>
#include <dlgs.h>
#include <string>
#include "settings_test_support.h"
#include "support/WineTestSupport.h"

using namespace settings_test;

namespace {

struct Answer {
    std::string fileName;  // empty: press Cancel
    bool dialogSeen = false;
};

DWORD WINAPI AnswerTheDialog(LPVOID parameter)
{
    Answer* answer = static_cast<Answer*>(parameter);
    HWND fileDialog = NULL;
    answer->dialogSeen = mmk_test::WaitUntil([&] {
        fileDialog = mmk_test::FindProcessWindow(GetCurrentProcessId(), "#32770", "New Application");
        return fileDialog != NULL && IsWindowVisible(fileDialog);
    }, 20000);
    if (!answer->dialogSeen) return 0;
    if (answer->fileName.empty()) {
        PostMessageA(fileDialog, WM_COMMAND, IDCANCEL, 0);
        return 0;
    }
    // The file name box is a combo box in the explorer-style dialog.
    SetDlgItemTextA(fileDialog, cmb13, answer->fileName.c_str());
    SetDlgItemTextA(fileDialog, edt1, answer->fileName.c_str());
    PostMessageA(fileDialog, WM_COMMAND, IDOK, 0);
    return 0;
}

class RealBrowseDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetRegistry(NULL, NULL);
        ASSERT_TRUE(page.Create());
        page.SetText(IDC_MEDIA, "C:\\old\\player.exe /play");
    }
    // Presses the media player's Browse button while the helper answers.
    void Browse(Answer& answer)
    {
        HANDLE helper = CreateThread(NULL, 0, AnswerTheDialog, &answer, 0, NULL);
        ASSERT_TRUE(helper != NULL);
        page.Command(IDC_MEDIA_BROWSE);
        WaitForSingleObject(helper, 30000);
        CloseHandle(helper);
        ASSERT_TRUE(answer.dialogSeen) << "no file dialog titled \"New Application\" appeared";
    }
    PageDialog page;
};

TEST_F(RealBrowseDialogTest, ChoosingAProgramPutsItsFullPathInTheBox)
{
    Answer answer;
    answer.fileName = mmk_test::BuildFile("stubs\\mediastub.exe");
    Browse(answer);
    EXPECT_EQ(0, lstrcmpiA(answer.fileName.c_str(), page.Text(IDC_MEDIA).c_str())) << page.Text(IDC_MEDIA);
    EXPECT_FALSE(SettingsKeyExists());
}

TEST_F(RealBrowseDialogTest, CancellingTheDialogLeavesTheBoxAsItWas)
{
    Answer answer;
    Browse(answer);
    EXPECT_EQ("C:\\old\\player.exe /play", page.Text(IDC_MEDIA));
}

}  // namespace
