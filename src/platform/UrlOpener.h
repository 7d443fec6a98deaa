// UrlOpener: opens a web address (or a file: address) the way the desktop
// usually does, in the user's default browser. The system opener hands the
// address to SDL and ignores the outcome: no browser, no network or a
// refused address leave the game running as before. Tests install an opener
// that only records the addresses, so no test ever starts a browser.
#pragma once

#include <string>

namespace mirefell
{

class IUrlOpener
{
public:
    virtual ~IUrlOpener() = default;
    // Asks the desktop to show `url`; returns at once, whatever happens.
    virtual void Open(const std::string& url) = 0;
};

class SystemUrlOpener final : public IUrlOpener
{
public:
    void Open(const std::string& url) override;
};

// The process opener: the SystemUrlOpener unless a test installed another.
IUrlOpener& GetUrlOpener();
// Installs an opener (not owned; it must outlive its use), or the system one
// again for nullptr.
void SetUrlOpener(IUrlOpener* opener);

} // namespace mirefell
