#pragma once
// A service the program installs when it starts, from the static initialisation of a file
// that only the program links; until then, and in every program that installs none, the
// fallback that `Fallback()` returns stands in. The slot is a function's own static, so
// installing works whichever file's static initialisation runs first.

namespace quilvane {

template <class Service, Service& (*Fallback)()>
class Installed {
public:
    static Service& Get() { return *Slot(); }
    static void Install(Service& service) { Slot() = &service; }

private:
    static Service*& Slot() {
        static Service* installed = &Fallback();
        return installed;
    }
};

}  // namespace quilvane
