#include "view/ui/FrameServices.h"

namespace halvera {

namespace {

FrameServices*& CurrentFrame() {
    static FrameServices* current = nullptr;
    return current;
}

} // namespace

FrameServices* Frame() {
    return CurrentFrame();
}

ScopedFrameServices::ScopedFrameServices(FrameServices& services) : previous_(CurrentFrame()) {
    CurrentFrame() = &services;
}

ScopedFrameServices::~ScopedFrameServices() {
    CurrentFrame() = previous_;
}

} // namespace halvera
