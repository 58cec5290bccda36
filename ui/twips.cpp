#include "twips.h"

#include "handles.h"

namespace quilvane::ui {

int ScreenDpi() {
    WindowDc screen(nullptr);
    return GetDeviceCaps(screen.get(), LOGPIXELSX);
}

}  // namespace quilvane::ui
