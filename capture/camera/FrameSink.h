// Our own sink filter, the end of every camera graph: one input pin that
// takes the formats we convert (the format table's subtypes, described by a
// VIDEOINFOHEADER or a VIDEOINFOHEADER2), so a camera connects to it
// straight and anything else comes through the decoder the graph puts in
// front (MJPG, say).
//
// Threads: the filter's methods run on the camera's thread (the graph calls
// them there); Receive runs on the capture filter's streaming thread. The
// filter lock guards the state and the connection; the streaming lock is
// held through each Receive, and Stop takes it after the state, so once Stop
// returns no Receive is running. Receive copies the frame into the FrameTap,
// keeps no sample, never calls the graph and never sends a window message.
#pragma once

#include "capture/camera/FrameTap.h"

#include <dshow.h>
#include <wrl/client.h>

#include <memory>

namespace vardolin::capture {

// What the sink's IPersist::GetClassID answers (it is made directly, never
// through the registry).
extern const CLSID kFrameSinkClassId;

// A new sink that writes every frame into tap.
Microsoft::WRL::ComPtr<IBaseFilter> CreateFrameSink(std::shared_ptr<FrameTap> tap);

// The sink's input pin.
Microsoft::WRL::ComPtr<IPin> FrameSinkPin(IBaseFilter* sink);

}  // namespace vardolin::capture
