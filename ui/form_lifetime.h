#pragma once
// The program runs while at least one of its forms is loaded, shown or hidden: a form that
// only hides itself keeps the program alive, so what it is counting down still happens.

#include <functional>

namespace quilvane::ui {

// Held by each form: Load when its window exists, Unload when it is gone.
class LoadedForm {
public:
    LoadedForm() = default;
    LoadedForm(const LoadedForm&) = delete;
    LoadedForm& operator=(const LoadedForm&) = delete;
    ~LoadedForm() { Unload(); }

    void Load();
    void Unload();
    bool loaded() const { return loaded_; }

private:
    bool loaded_ = false;
};

// What happens when the last loaded form unloads (the program sets it to end its loop).
void WhenNoFormIsLoaded(std::function<void()> action);

}  // namespace quilvane::ui
