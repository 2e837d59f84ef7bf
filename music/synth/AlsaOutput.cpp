#include <fluidsynth.h>

#include "Engine.h"
#include "Output.h"

namespace tolvex::synth {

namespace {

// Background music needs no low latency, and the period decides the CPU: measured, the program
// takes about 25% of a core at 64 frames a period and 4% at 1024.
constexpr int kPeriodSize = 1024;
constexpr int kPeriods = 4;

class AlsaOutput final : public Output {
public:
    AlsaOutput(Engine& engine, TuneSounding tuneSounding)
        : engine_(engine), tuneSounding_(std::move(tuneSounding)) {}
    ~AlsaOutput() override { delete_fluid_audio_driver(driver_); }
    AlsaOutput(const AlsaOutput&) = delete;
    AlsaOutput& operator=(const AlsaOutput&) = delete;

    bool open() {
        fluid_settings_t* settings = engine_.settings();
        fluid_settings_setstr(settings, "audio.driver", "alsa");
        fluid_settings_setint(settings, "audio.period-size", kPeriodSize);
        fluid_settings_setint(settings, "audio.periods", kPeriods);
        driver_ = new_fluid_audio_driver2(settings, render, this);
        return driver_ != nullptr;
    }

private:
    // The device plays what it is given at once: a tune sounds as soon as it is rendered.
    static int render(void* self, int frames, int effectCount, float* effects[], int outputCount,
                      float* outputs[]) {
        auto* output = static_cast<AlsaOutput*>(self);
        bool tuneBegan = false;
        const int rendered =
            output->engine_.renderBuffers(frames, effectCount, effects, outputCount, outputs, tuneBegan);
        if (tuneBegan) output->tuneSounding_();
        return rendered;
    }

    Engine& engine_;
    TuneSounding tuneSounding_;
    fluid_audio_driver_t* driver_ = nullptr;
};

}  // namespace

std::unique_ptr<Output> openAlsaOutput(Engine& engine, TuneSounding tuneSounding) {
    auto output = std::make_unique<AlsaOutput>(engine, std::move(tuneSounding));
    return output->open() ? std::move(output) : nullptr;
}

}  // namespace tolvex::synth
