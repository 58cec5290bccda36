#include "form_lifetime.h"

#include <utility>

namespace quilvane::ui {
namespace {

int loadedForms = 0;
std::function<void()> lastFormGone;

}  // namespace

void LoadedForm::Load() {
    if (loaded_) return;
    loaded_ = true;
    ++loadedForms;
}

void LoadedForm::Unload() {
    if (!loaded_) return;
    loaded_ = false;
    if (--loadedForms == 0 && lastFormGone) lastFormGone();
}

void WhenNoFormIsLoaded(std::function<void()> action) { lastFormGone = std::move(action); }

}  // namespace quilvane::ui
