// Connects the behaviour of the roster, the photo capture and the About
// window to the capture window's extension slots.
#pragma once

namespace vardolin::server {

// Safe to call any number of times; the parts are attached once.
void AttachParts() noexcept;

}  // namespace vardolin::server
