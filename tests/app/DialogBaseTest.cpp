#include "app/framework/Dialog.h"

#include <gtest/gtest.h>

namespace {

constexpr int kTestDialog = 100;

// What the handler saw, kept outside the object so that it can be read after the object is gone.
struct Sightings {
    bool destroySeen = false;
    int callsWhileDying = 0;
};

class TestDialog final : public CDialogBase {
public:
    explicit TestDialog(Sightings& sightings) : m_sightings(sightings) {}
    ~TestDialog() override { m_dying = true; }

protected:
    INT_PTR HandleMessage(UINT message, WPARAM, LPARAM) override {
        if (m_dying) {
            ++m_sightings.callsWhileDying;
        }
        if (message == WM_DESTROY) {
            m_sightings.destroySeen = true;
        }
        return message == WM_INITDIALOG;
    }

private:
    Sightings& m_sightings;
    bool m_dying = false;
};

} // namespace

TEST(DialogBase, TheWindowGoesWithItsObjectAndNoHandlerRunsOnAHalfDestroyedOne) {
    Sightings destroyed;
    {
        TestDialog dialog(destroyed);
        ASSERT_TRUE(dialog.CreateModeless(GetModuleHandleA(nullptr), kTestDialog, nullptr));
        dialog.Destroy();
        EXPECT_EQ(dialog.Hwnd(), nullptr);
    }
    EXPECT_TRUE(destroyed.destroySeen) << "an explicit Destroy reaches the whole object";

    Sightings dropped;
    HWND window = nullptr;
    {
        TestDialog dialog(dropped);
        ASSERT_TRUE(dialog.CreateModeless(GetModuleHandleA(nullptr), kTestDialog, nullptr));
        window = dialog.Hwnd();
    }
    EXPECT_FALSE(IsWindow(window)) << "the window does not outlive its object";
    EXPECT_EQ(dropped.callsWhileDying, 0) << "no handler ran after the derived destructor";
    EXPECT_FALSE(dropped.destroySeen);
}
