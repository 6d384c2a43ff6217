#pragma once
// The graphics probe's answer as bytes: how the process that asks the driver
// hands it to the process that runs the check, once, through a pipe. Plain
// bytes, below everything that either process builds on.

#include <string>
#include <string_view>

#include "platform/graphics_driver.h"

// Only Read and NoWindow travel: hangs and failures are what the receiver sees.
std::string EncodeGraphicsReading(const GraphicsReading& reading);

enum class GraphicsMessageState {
    Incomplete,  // a true beginning of a message: more bytes are to come
    Complete,    // `reading` holds the message
    Malformed,   // no message of ours, one with a value no probe sends, or one
                 // whose parts do not fill the length it gives exactly
};

// Reads a message from the front of `bytes`; whatever follows it is not looked at.
GraphicsMessageState DecodeGraphicsReading(std::string_view bytes, GraphicsReading& reading);
