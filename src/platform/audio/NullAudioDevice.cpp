#include "platform/audio/NullAudioDevice.h"

namespace mirefell
{

AudioBufferId NullAudioDevice::CreateBuffer(const WaveData&)
{
    // Distinct handles, so callers cannot tell this device from one that
    // keeps the samples.
    const AudioBufferId id = nextBuffer++;
    if (nextBuffer == NoAudioBuffer)
        nextBuffer = 1;
    return id;
}

} // namespace mirefell
