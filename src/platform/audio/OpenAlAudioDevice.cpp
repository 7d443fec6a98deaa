#include "platform/audio/OpenAlAudioDevice.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>
#include <numbers>
#include <vector>

#include "platform/Clock.h"
#include "platform/audio/WaveFile.h"

namespace mirefell
{

namespace
{

// The silent mixer never catches up more than this much time in one Update,
// so a long stall does not turn into a long burst of mixing.
constexpr uint32_t MaxSilentCatchUpDivisor = 4; // a quarter of a second
constexpr uint32_t SilentChunkFrames = 1024;

// Voice handles: slot index + 1 in the low 16 bits, the slot's serial in the
// high 16, so a handle kept after its voice was destroyed never reaches the
// slot's next voice.
constexpr uint32_t SlotBits = 16;
constexpr uint32_t SlotMask = (1u << SlotBits) - 1;

ALenum BufferFormat(const WaveFormat& format)
{
    if (format.channels == 1)
        return format.bitsPerSample == 8 ? AL_FORMAT_MONO8 : AL_FORMAT_MONO16;
    return format.bitsPerSample == 8 ? AL_FORMAT_STEREO8 : AL_FORMAT_STEREO16;
}

} // namespace

struct OpenAlAudioDevice::Impl
{
    struct Voice
    {
        ALuint source = 0;
        uint16_t serial = 1;
        bool used = false;
    };
    struct Buffer
    {
        ALuint name = 0;
        uint16_t channels = 1;
    };

    OpenAlDeviceOptions options;
    Mode mode = Mode::Closed;
    bool wantLoopback = false; // Reset reopens a loopback device rather than the default output
    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    std::vector<Voice> voices;
    std::vector<Buffer> buffers; // index + 1 is the handle; name 0 marks a free entry
    bool suspended = false;

    LPALCLOOPBACKOPENDEVICESOFT loopbackOpen = nullptr;
    LPALCISRENDERFORMATSUPPORTEDSOFT renderFormatSupported = nullptr;
    LPALCRENDERSAMPLESSOFT renderSamples = nullptr;
    LPALCDEVICEPAUSESOFT devicePause = nullptr;
    LPALCDEVICERESUMESOFT deviceResume = nullptr;
    bool canDetectDisconnect = false;
    bool hasDirectChannels = false;
    bool hasStereoAngles = false;

    // Silent pacing.
    uint64_t lastCounter = 0;
    uint64_t pendingNanoFrames = 0; // frames x 1e9 not yet mixed
    std::vector<int16_t> scratch;

    ~Impl() { Close(); }

    void MakeCurrent() const
    {
        if (context && alcGetCurrentContext() != context)
            alcMakeContextCurrent(context);
    }

    void Close()
    {
        if (context) {
            MakeCurrent();
            for (Voice& voice : voices)
                if (voice.source) {
                    alSourceStop(voice.source);
                    alSourcei(voice.source, AL_BUFFER, 0);
                    alDeleteSources(1, &voice.source);
                }
            for (Buffer& buffer : buffers)
                if (buffer.name)
                    alDeleteBuffers(1, &buffer.name);
            alcMakeContextCurrent(nullptr);
            alcDestroyContext(context);
        }
        if (device)
            alcCloseDevice(device);
        voices.clear();
        buffers.clear();
        context = nullptr;
        device = nullptr;
        mode = Mode::Closed;
        suspended = false;
    }

    bool LoadLoopbackFunctions()
    {
        if (!alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback"))
            return false;
        loopbackOpen =
            reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
        renderFormatSupported = reinterpret_cast<LPALCISRENDERFORMATSUPPORTEDSOFT>(
            alcGetProcAddress(nullptr, "alcIsRenderFormatSupportedSOFT"));
        renderSamples = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
        return loopbackOpen && renderFormatSupported && renderSamples;
    }

    // Creates the context and the voice pool on `device`; false (with the
    // device closed) when the context cannot be made.
    bool CreateContext(const std::vector<ALCint>& attributes)
    {
        context = alcCreateContext(device, attributes.data());
        if (!context) {
            alcCloseDevice(device);
            device = nullptr;
            return false;
        }
        alcMakeContextCurrent(context);
        alGetError();
        // Sound positions only express pan: no distance attenuation.
        alDistanceModel(AL_NONE);
        voices.resize(options.voices);
        for (Voice& voice : voices) {
            alGenSources(1, &voice.source);
            if (alGetError() != AL_NO_ERROR) {
                voice.source = 0;
                break;
            }
        }
        // Keep only the sources OpenAL gave.
        voices.erase(std::find_if(voices.begin(), voices.end(), [](const Voice& v) { return v.source == 0; }),
                     voices.end());
        canDetectDisconnect = alcIsExtensionPresent(device, "ALC_EXT_disconnect");
        hasDirectChannels = alIsExtensionPresent("AL_SOFT_direct_channels");
        hasStereoAngles = alIsExtensionPresent("AL_EXT_STEREO_ANGLES");
        devicePause = nullptr;
        deviceResume = nullptr;
        if (alcIsExtensionPresent(device, "ALC_SOFT_pause_device")) {
            devicePause = reinterpret_cast<LPALCDEVICEPAUSESOFT>(alcGetProcAddress(device, "alcDevicePauseSOFT"));
            deviceResume = reinterpret_cast<LPALCDEVICERESUMESOFT>(alcGetProcAddress(device, "alcDeviceResumeSOFT"));
        }
        return true;
    }

    bool OpenOutput()
    {
        device = alcOpenDevice(nullptr);
        if (!device)
            return false;
        std::vector<ALCint> attributes = {ALC_FREQUENCY, static_cast<ALCint>(options.sampleRate)};
        if (alcIsExtensionPresent(device, "ALC_SOFT_output_limiter")) {
            attributes.push_back(ALC_OUTPUT_LIMITER_SOFT);
            attributes.push_back(options.limiter ? ALC_TRUE : ALC_FALSE);
        }
        attributes.push_back(0);
        if (!CreateContext(attributes))
            return false;
        mode = Mode::Output;
        return true;
    }

    bool OpenLoopbackDevice(Mode loopbackMode)
    {
        if (!LoadLoopbackFunctions())
            return false;
        device = loopbackOpen(nullptr);
        if (!device)
            return false;
        const auto rate = static_cast<ALCsizei>(options.sampleRate);
        if (!renderFormatSupported(device, rate, ALC_STEREO_SOFT, ALC_SHORT_SOFT)) {
            alcCloseDevice(device);
            device = nullptr;
            return false;
        }
        std::vector<ALCint> attributes = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT,
                                          ALC_SHORT_SOFT,           ALC_FREQUENCY,   rate};
        if (alcIsExtensionPresent(device, "ALC_SOFT_HRTF")) {
            attributes.push_back(ALC_HRTF_SOFT);
            attributes.push_back(ALC_FALSE);
        }
        if (alcIsExtensionPresent(device, "ALC_SOFT_output_limiter")) {
            attributes.push_back(ALC_OUTPUT_LIMITER_SOFT);
            attributes.push_back(options.limiter ? ALC_TRUE : ALC_FALSE);
        }
        attributes.push_back(0);
        if (!CreateContext(attributes))
            return false;
        mode = loopbackMode;
        if (mode == Mode::Silent) {
            scratch.assign(static_cast<size_t>(SilentChunkFrames) * 2, 0);
            lastCounter = GetClock().Counter();
            pendingNanoFrames = 0;
        }
        return true;
    }

    void Open()
    {
        if (wantLoopback) {
            OpenLoopbackDevice(Mode::Loopback);
            return;
        }
        if (!options.openOutput || !OpenOutput())
            OpenLoopbackDevice(Mode::Silent);
    }

    Voice* FindVoice(AudioVoiceId id)
    {
        const uint32_t slot = (id & SlotMask);
        if (slot == 0 || slot > voices.size())
            return nullptr;
        Voice& voice = voices[slot - 1];
        return voice.used && voice.serial == (id >> SlotBits) ? &voice : nullptr;
    }

    const Buffer* FindBuffer(AudioBufferId id) const
    {
        if (id == NoAudioBuffer || id > buffers.size() || buffers[id - 1].name == 0)
            return nullptr;
        return &buffers[id - 1];
    }

    void MixSilently()
    {
        IClock& clock = GetClock();
        const uint64_t now = clock.Counter();
        const int64_t elapsedNs = CounterToNanoseconds(now - lastCounter, clock.Frequency());
        lastCounter = now;
        pendingNanoFrames += static_cast<uint64_t>(elapsedNs) * options.sampleRate;
        uint64_t frames = pendingNanoFrames / 1'000'000'000ull;
        pendingNanoFrames %= 1'000'000'000ull;
        const uint64_t cap = options.sampleRate / MaxSilentCatchUpDivisor;
        if (frames > cap) {
            frames = cap;
            pendingNanoFrames = 0;
        }
        while (frames > 0) {
            const auto chunk = static_cast<ALCsizei>(std::min<uint64_t>(frames, SilentChunkFrames));
            renderSamples(device, scratch.data(), chunk);
            frames -= static_cast<uint64_t>(chunk);
        }
    }
};

OpenAlAudioDevice::OpenAlAudioDevice(std::unique_ptr<Impl> impl_) : impl(std::move(impl_)) {}

OpenAlAudioDevice::~OpenAlAudioDevice() = default;

std::unique_ptr<OpenAlAudioDevice> OpenAlAudioDevice::OpenDefault(const OpenAlDeviceOptions& options)
{
    auto impl = std::make_unique<Impl>();
    impl->options = options;
    impl->Open();
    return std::unique_ptr<OpenAlAudioDevice>(new OpenAlAudioDevice(std::move(impl)));
}

std::unique_ptr<OpenAlAudioDevice> OpenAlAudioDevice::OpenLoopback(const OpenAlDeviceOptions& options)
{
    auto impl = std::make_unique<Impl>();
    impl->options = options;
    impl->wantLoopback = true;
    impl->Open();
    return std::unique_ptr<OpenAlAudioDevice>(new OpenAlAudioDevice(std::move(impl)));
}

OpenAlAudioDevice::Mode OpenAlAudioDevice::GetMode() const
{
    return impl->mode;
}

std::string OpenAlAudioDevice::DeviceName() const
{
    if (!impl->device)
        return {};
    const ALCchar* name = alcGetString(impl->device, ALC_DEVICE_SPECIFIER);
    return name ? name : "";
}

void OpenAlAudioDevice::Render(int16_t* interleaved, uint32_t frames)
{
    assert(impl->mode == Mode::Loopback && "Render needs a loopback device");
    if (impl->mode != Mode::Loopback)
        return;
    impl->MakeCurrent();
    impl->renderSamples(impl->device, interleaved, static_cast<ALCsizei>(frames));
}

AudioBufferId OpenAlAudioDevice::CreateBuffer(const WaveData& wave)
{
    if (!impl->context || wave.samples.empty())
        return NoAudioBuffer;
    impl->MakeCurrent();
    alGetError();
    ALuint name = 0;
    alGenBuffers(1, &name);
    if (alGetError() != AL_NO_ERROR)
        return NoAudioBuffer;
    alBufferData(name, BufferFormat(wave.format), wave.samples.data(), static_cast<ALsizei>(wave.samples.size()),
                 static_cast<ALsizei>(wave.format.sampleRate));
    if (alGetError() != AL_NO_ERROR) {
        alDeleteBuffers(1, &name);
        return NoAudioBuffer;
    }
    const Impl::Buffer entry{name, wave.format.channels};
    for (size_t i = 0; i < impl->buffers.size(); ++i)
        if (impl->buffers[i].name == 0) {
            impl->buffers[i] = entry;
            return static_cast<AudioBufferId>(i + 1);
        }
    impl->buffers.push_back(entry);
    return static_cast<AudioBufferId>(impl->buffers.size());
}

void OpenAlAudioDevice::DestroyBuffer(AudioBufferId id)
{
    const Impl::Buffer* buffer = impl->FindBuffer(id);
    if (!buffer)
        return;
    impl->MakeCurrent();
    alDeleteBuffers(1, &buffer->name);
    impl->buffers[id - 1] = {};
}

AudioVoiceId OpenAlAudioDevice::StartVoice(AudioBufferId bufferId, const VoiceSettings& settings)
{
    const Impl::Buffer* buffer = impl->FindBuffer(bufferId);
    if (!buffer)
        return NoAudioVoice;
    const auto free =
        std::find_if(impl->voices.begin(), impl->voices.end(), [](const Impl::Voice& v) { return !v.used; });
    if (free == impl->voices.end())
        return NoAudioVoice;

    impl->MakeCurrent();
    alGetError();
    const ALuint source = free->source;
    const float pan = std::clamp(settings.pan, -1.0f, 1.0f);
    const float quarterTurn = std::numbers::pi_v<float> / 2;
    alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer->name));
    alSourcei(source, AL_LOOPING, settings.loop ? AL_TRUE : AL_FALSE);
    alSourcef(source, AL_GAIN, std::max(settings.volume, 0.0f));
    alSourcef(source, AL_PITCH, std::exp2(std::clamp(settings.pitch, -1.0f, 1.0f)));
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    // Pan places a mono sound on the frontal arc: -1 hard left, +1 hard right.
    alSource3f(source, AL_POSITION, std::sin(pan * quarterTurn), 0.0f, -std::cos(pan * quarterTurn));
    // Centred stereo (music) goes straight to the speakers; panned stereo
    // turns both channels towards the side.
    if (impl->hasDirectChannels)
        alSourcei(source, AL_DIRECT_CHANNELS_SOFT, buffer->channels == 2 && pan == 0.0f ? AL_TRUE : AL_FALSE);
    if (impl->hasStereoAngles && buffer->channels == 2) {
        const float spread = std::numbers::pi_v<float> / 6 * (1.0f - std::fabs(pan));
        const ALfloat angles[2] = {-pan * quarterTurn + spread, -pan * quarterTurn - spread};
        alSourcefv(source, AL_STEREO_ANGLES, angles);
    }
    alSourcePlay(source);
    if (alGetError() != AL_NO_ERROR) {
        alSourceStop(source);
        alSourcei(source, AL_BUFFER, 0);
        return NoAudioVoice;
    }
    free->used = true;
    const auto slot = static_cast<uint32_t>(free - impl->voices.begin()) + 1;
    return (static_cast<uint32_t>(free->serial) << SlotBits) | slot;
}

void OpenAlAudioDevice::SetVoiceVolume(AudioVoiceId id, float volume)
{
    if (Impl::Voice* voice = impl->FindVoice(id)) {
        impl->MakeCurrent();
        alSourcef(voice->source, AL_GAIN, std::max(volume, 0.0f));
    }
}

bool OpenAlAudioDevice::IsVoicePlaying(AudioVoiceId id) const
{
    Impl::Voice* voice = impl->FindVoice(id);
    if (!voice)
        return false;
    impl->MakeCurrent();
    ALint state = AL_STOPPED;
    alGetSourcei(voice->source, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING || state == AL_PAUSED;
}

void OpenAlAudioDevice::DestroyVoice(AudioVoiceId id)
{
    Impl::Voice* voice = impl->FindVoice(id);
    if (!voice)
        return;
    impl->MakeCurrent();
    alSourceStop(voice->source);
    alSourcei(voice->source, AL_BUFFER, 0);
    voice->used = false;
    voice->serial = static_cast<uint16_t>(voice->serial == 0xFFFF ? 1 : voice->serial + 1);
}

uint32_t OpenAlAudioDevice::VoiceCapacity() const
{
    return static_cast<uint32_t>(impl->voices.size());
}

AudioDeviceStatus OpenAlAudioDevice::Update()
{
    switch (impl->mode) {
    case Mode::Output:
        if (impl->canDetectDisconnect) {
            ALCint connected = ALC_TRUE;
            alcGetIntegerv(impl->device, ALC_CONNECTED, 1, &connected);
            if (connected == ALC_FALSE)
                return AudioDeviceStatus::Lost;
        }
        return AudioDeviceStatus::Output;
    case Mode::Loopback:
        return AudioDeviceStatus::Output;
    case Mode::Silent:
        if (!impl->suspended) {
            impl->MakeCurrent();
            impl->MixSilently();
        }
        return AudioDeviceStatus::Silent;
    case Mode::Closed:
        break;
    }
    return AudioDeviceStatus::Silent;
}

bool OpenAlAudioDevice::Reset()
{
    impl->Close();
    impl->Open();
    return HasOutput();
}

void OpenAlAudioDevice::Suspend()
{
    if (impl->suspended)
        return;
    impl->suspended = true;
    if (impl->mode == Mode::Output && impl->devicePause)
        impl->devicePause(impl->device);
}

void OpenAlAudioDevice::Resume()
{
    if (!impl->suspended)
        return;
    impl->suspended = false;
    if (impl->mode == Mode::Output && impl->deviceResume)
        impl->deviceResume(impl->device);
    // Time spent suspended is not mixed afterwards.
    impl->lastCounter = GetClock().Counter();
    impl->pendingNanoFrames = 0;
}

bool OpenAlAudioDevice::HasOutput() const
{
    return impl->mode == Mode::Output || impl->mode == Mode::Loopback;
}

} // namespace mirefell
