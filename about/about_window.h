#pragma once
// frmUseset, the About window: the About picture under moving water. Moving the pointer over
// the picture stirs the water, a right click switches to a random automatic mode, the two
// click areas over the picture's address lines open the maker's web page and a new mail to
// the maker, and "确定(&S)" closes the window. Created anew for each opening; everything the
// water uses is released when the window closes.

#include <windows.h>

#include <functional>

#include "about_window_layout.h"
#include "dialogs.h"
#include "form.h"
#include "form_lifetime.h"
#include "handles.h"
#include "picture_box.h"
#include "ripple_effect.h"
#include "skin.h"

namespace quilvane::about {

class frmUseset : public ui::Form {
public:
    // Numbers uniform in [0, 1), as the platform's generator gives them.
    using Uniform = std::function<double()>;
    static Uniform SystemUniform();

    // `se` is the main window's skin, `owner` the main window.
    frmUseset(shell::Skin& se, shell::Dialogs& dialogs, HWND owner, Uniform uniform = SystemUniform());
    ~frmUseset() override;

    // Creates the window and its controls and runs the load handler; not shown yet.
    bool Create();

    // Event handlers, named after their control and event.
    void Form_Load();
    void Form_Unload();
    void P1_MouseMove(short& button, short& shift, float& x, float& y);
    void P1_MouseDown(short& button, short& shift, float& x, float& y);
    void Label1_Click();
    void Label2_Click();
    void bt1_Click();

    // For the window's tests: the controls and the water.
    RECT ClickArea(AboutControlId label) const { return PlaceOf(label); }  // P1 pixels
    const RippleEffect& Ripple() const { return ripple_; }
    RippleEffect& Ripple() { return ripple_; }

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HWND CreateCustomControl(const ui::ControlDesign& design, HWND container, const RECT& place) override;
    void ConnectEvents();

    shell::Skin& se_;
    shell::Dialogs& dialogs_;
    HWND owner_;
    Uniform uniform_;
    ui::GdiObject<HBITMAP> picture_;
    PictureBox p1_;
    RippleEffect ripple_;
    ui::LoadedForm loaded_;
};

}  // namespace quilvane::about
