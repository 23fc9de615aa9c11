#include "app/framework/AnchorLayout.h"
#include "app/framework/Control.h"
#include "app/framework/Dialog.h"
#include "app/framework/MessagePump.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int kTestDialog = 100;
constexpr int kTestPage = 101;
constexpr int kFirstEdit = 1001;
constexpr int kSecondEdit = 1002;
constexpr int kButton = 1003;
constexpr int kPlaceholder = 1004;

HINSTANCE Module() {
    return GetModuleHandleA(nullptr);
}

// What the handlers saw, kept outside the object so that it can be read after the object is gone.
struct Sightings {
    bool destroySeen = false;
    int callsWhileDying = 0;
    std::vector<const char*> clicks;
};

class TestDialog final : public CDialogBase {
public:
    explicit TestDialog(Sightings& sightings) : m_sightings(sightings) {
        OnMessage(WM_DESTROY, [this](WPARAM, LPARAM) -> MessageResult {
            m_sightings.destroySeen = true;
            return 0;
        });
        OnMessage(WM_SIZE, [this](WPARAM, LPARAM) -> MessageResult {
            m_layout.Apply();
            return 0;
        });
        OnCommand(kButton, [this] {
            m_sightings.clicks.push_back("dialog");
            EndModal(42);
        });
        OnCommandCode(kFirstEdit, EN_CHANGE, [this] { m_sightings.clicks.push_back("edit changed"); });
    }
    ~TestDialog() override { m_dying = true; }

    CAnchorLayout m_layout;

private:
    BOOL OnInitDialog() override {
        m_layout.Attach(Hwnd(),
                        {AnchorStretchWidth(kFirstEdit), AnchorRight(kButton), AnchorStretch(kPlaceholder)});
        return TRUE;
    }
    Sightings& m_sightings;
    bool m_dying = false;
};

// A wrapper that takes its button's clicks before the dialog does, as owner-drawn and skinned
// controls take their drawing.
class ClickCatcher final : public CControl {
public:
    explicit ClickCatcher(Sightings& sightings) : m_sightings(sightings) {}

private:
    MessageResult OnReflected(UINT message, WPARAM wParam, LPARAM) override {
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
            m_sightings.clicks.push_back("control");
            return 0;
        }
        return {};
    }
    Sightings& m_sightings;
};

RECT PlaceIn(HWND dialog, int id) {
    RECT place;
    GetWindowRect(GetDlgItem(dialog, id), &place);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
    return place;
}

} // namespace

TEST(DialogBase, TheWindowGoesWithItsObjectAndNoHandlerRunsOnAHalfDestroyedOne) {
    Sightings destroyed;
    {
        TestDialog dialog(destroyed);
        ASSERT_TRUE(dialog.CreateModeless(Module(), kTestDialog, nullptr));
        dialog.Destroy();
        EXPECT_EQ(dialog.Hwnd(), nullptr);
    }
    EXPECT_TRUE(destroyed.destroySeen) << "an explicit Destroy reaches the whole object";

    Sightings dropped;
    HWND window = nullptr;
    {
        TestDialog dialog(dropped);
        ASSERT_TRUE(dialog.CreateModeless(Module(), kTestDialog, nullptr));
        window = dialog.Hwnd();
    }
    EXPECT_FALSE(IsWindow(window)) << "the window does not outlive its object";
    EXPECT_EQ(dropped.callsWhileDying, 0) << "no handler ran after the derived destructor";
    EXPECT_FALSE(dropped.destroySeen);
}

TEST(DialogBase, CommandsGoByIdAndCodeAndAControlsWrapperSeesItsOwnFirst) {
    Sightings seen;
    TestDialog dialog(seen);
    ASSERT_TRUE(dialog.CreateModeless(Module(), kTestDialog, nullptr));
    SetWindowTextA(dialog.Item(kFirstEdit), "typed");
    SetWindowTextA(dialog.Item(kSecondEdit), "typed");
    SendMessageA(dialog.Item(kButton), BM_CLICK, 0, 0);
    EXPECT_EQ(seen.clicks, (std::vector<const char*>{"edit changed", "dialog"}))
        << "only the first edit's change has a handler";
    {
        ClickCatcher catcher(seen);
        ASSERT_TRUE(catcher.Attach(dialog, kButton));
        SendMessageA(dialog.Item(kButton), BM_CLICK, 0, 0);
        EXPECT_EQ(seen.clicks.back(), std::string("control"));
        EXPECT_EQ(seen.clicks.size(), 3u) << "the wrapper kept the click";
    }
    SendMessageA(dialog.Item(kButton), BM_CLICK, 0, 0);
    EXPECT_EQ(seen.clicks.back(), std::string("dialog")) << "a wrapper gone takes nothing more";
}

TEST(DialogBase, AModalDialogGivesItsEndValueAndEveryModelessOneGetsTheKeyboard) {
    Sightings seen;
    TestDialog modal(seen);
    // The modal loop runs until the button ends it.
    SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        HWND active = FindWindowA(nullptr, "Dialog base test");
        SendMessageA(GetDlgItem(active, kButton), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(modal.DoModal(Module(), kTestDialog, nullptr), 42);
    EXPECT_EQ(modal.Hwnd(), nullptr);

    // Two modeless dialogs; Tab in the second moves its focus: the loop knows both.
    TestDialog first(seen), second(seen);
    ASSERT_TRUE(first.CreateModeless(Module(), kTestDialog, nullptr));
    ASSERT_TRUE(second.CreateModeless(Module(), kTestDialog, nullptr));
    ShowWindow(second.Hwnd(), SW_SHOW);
    SetFocus(second.Item(kFirstEdit));
    ASSERT_EQ(GetFocus(), second.Item(kFirstEdit));
    MSG tab{second.Item(kFirstEdit), WM_KEYDOWN, VK_TAB, 0, 0, {}};
    EXPECT_TRUE(HandleDialogMessage(tab));
    EXPECT_EQ(GetFocus(), second.Item(kSecondEdit));
}

TEST(DialogBase, APageTakesItsPlaceholdersPlaceAndAnchorsFollowTheSize) {
    Sightings seen;
    TestDialog dialog(seen);
    ASSERT_TRUE(dialog.CreateModeless(Module(), kTestDialog, nullptr));
    RECT placeholder = PlaceIn(dialog.Hwnd(), kPlaceholder);
    TestDialog page(seen);
    ASSERT_TRUE(page.CreateChild(Module(), kTestPage, dialog, kPlaceholder));
    RECT pagePlace;
    GetWindowRect(page.Hwnd(), &pagePlace);
    MapWindowPoints(nullptr, dialog.Hwnd(), reinterpret_cast<POINT*>(&pagePlace), 2);
    EXPECT_TRUE(EqualRect(&pagePlace, &placeholder));
    EXPECT_FALSE(IsWindowVisible(dialog.Item(kPlaceholder)));

    RECT edit = PlaceIn(dialog.Hwnd(), kFirstEdit);
    RECT button = PlaceIn(dialog.Hwnd(), kButton);
    RECT window;
    GetWindowRect(dialog.Hwnd(), &window);
    SetWindowPos(dialog.Hwnd(), nullptr, 0, 0, window.right - window.left + 40,
                 window.bottom - window.top + 30, SWP_NOMOVE | SWP_NOZORDER);
    RECT editAfter = PlaceIn(dialog.Hwnd(), kFirstEdit);
    RECT buttonAfter = PlaceIn(dialog.Hwnd(), kButton);
    EXPECT_EQ(editAfter.left, edit.left);
    EXPECT_EQ(editAfter.right, edit.right + 40) << "stretched with the width";
    EXPECT_EQ(buttonAfter.left, button.left + 40) << "moved with the right edge";
    EXPECT_EQ(buttonAfter.top, button.top);
    EXPECT_EQ(dialog.m_layout.MinimumSize().cx, window.right - window.left);
}
