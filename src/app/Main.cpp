// Program entry: settings first, then (as the shell grows) the window and the
// main loop. Any error that escapes ends here: it is printed and the process
// exits non-zero.
#include <cstdio>
#include <ctime>
#include <exception>

#include "app/Config.h"
#include "platform/GameError.h"
#include "platform/Random.h"

int main()
{
    using namespace mirefell;
    try {
        Config& config = Config::GetInstance();
        config.Load();
        config.Save();
        SeedRand(static_cast<uint32_t>(std::time(nullptr)));
        return 0;
    } catch (const GameError& error) {
        std::fprintf(stderr, "mirefell: %s\n", error.Describe().c_str());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "mirefell: %s\n", error.what());
    }
    return 1;
}
