#pragma once
// Every path lives in a buffer of this size: 256 characters offered to the
// system plus room for the terminator. A longer path is refused, never cut.
constexpr int kPathBufferSize = 258;
// The longest path (without its terminator) that the commands accept.
constexpr int kMaxPathChars = 255;
