// A full device for the test program's own writes. While a FullDevice lives,
// every write() the program's code makes to a file whose full name starts
// with the given prefix fails with ENOSPC, as on a full disk; every other
// write passes. One at a time; the library's own writes (stdio, the test
// framework's output) are never touched.
#pragma once

#include <string>

namespace mirefell::testing
{

class FullDevice
{
public:
    // `prefix`: a file's name, or its start (the temporary copies beside a
    // file share its name); relative names are taken from the current folder.
    explicit FullDevice(const std::string& prefix);
    ~FullDevice();
    FullDevice(const FullDevice&) = delete;
    FullDevice& operator=(const FullDevice&) = delete;
};

} // namespace mirefell::testing
