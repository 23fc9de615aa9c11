// The synchronise dialog in this process, built from the program's own resources, over a tree big
// enough that its scan is still running when Cancel is pressed.
#include "app/framework/WinApp.h"
#include "res/ids/StringIds.h"
#include "tests/support/PcmFixtures.h"
#include "tests/support/TestSupport.h"
#include "tests/ui/manager/WindowTestSupport.h"
#include "tools/control/AppControl.h"
#include "ui/sync/DlgSync.h"

#include <gtest/gtest.h>

#include <thread>

using namespace qvltest;
using namespace uitest;

namespace {

// The application object that gives the question its caption.
class TestApp final : public CWinAppBase {
    bool InitInstance() override { return false; }
};

} // namespace

TEST(SyncDialog, CancelAsksAndOnYesEndsTheDialogWithCancelAndNoDiscs) {
    // Catches a Cancel that stops the scan without asking, or a dialog that stays open (or ends
    // with OK and its discs) once the question is answered yes.
    TestApp app;
    app.SetAppName("Quaverlane");
    TestFolder root;
    std::string wav = WavBytes(TestPcm(4000));
    for (int folder = 0; folder < 100; ++folder) {
        std::string path = root / ("Album" + std::to_string(folder));
        ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr));
        for (int file = 0; file < 20; ++file) {
            WriteFile(path + "\\Track" + std::to_string(file) + ".wav", wav);
        }
    }

    CDlgSync dialog(root.Path());
    INT_PTR result = 0;
    bool asked = false;
    std::thread answer;
    bool ended = EndsModal(
        [&] { result = dialog.Run(GetModuleHandleA(nullptr), nullptr); }, [&] { return dialog.Hwnd(); },
        [&](HWND shown) {
            answer = std::thread([&asked] {
                asked = AppControl::AnswerMessageBox(GetCurrentProcessId(),
                                                     "cancel synchorizing music folder", IDYES, 5000);
            });
            PostMessageA(shown, WM_COMMAND, IDCANCEL, 0);
        });
    answer.join();
    EXPECT_TRUE(asked) << "the question was shown and answered";
    EXPECT_TRUE(ended);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(dialog.Result().GetCount(), 0u);
}
