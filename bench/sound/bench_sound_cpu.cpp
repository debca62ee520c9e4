// What the sound costs: the process's CPU time while the tune plays (after its one rendering),
// while the hit sound loops, and while everything is stopped; how long "Open" and "Play" keep
// their caller; and, with --reference, FluidSynth playing the same tune live for comparison.
// Usage: bench_sound_cpu [--seconds N] [--tune file.mid] [--sink name] [--reference]
// --sink plays on that PulseAudio sink instead of the default one, out of other programs' way,
// and records its monitor to tell how soon the first sound is heard.
#include "cpumeter.h"
#include "monitorrecorder.h"
#include "testmedia.h"
#include "threadwakeups.h"

#include "sound/gamesound.h"
#include "sound/tuneplayer.h"
#include "sound/tunerendering.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QMediaDevices>
#include <QTemporaryDir>
#include <QTimer>

#include <fluidsynth.h>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

void runEventLoopFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void report(const char *what, const CpuMeter &meter, const ThreadWakeups *threads = nullptr)
{
    std::printf("%-44s %6.2f %% of a core  %7.1f wake-ups/s  (%.0f ms CPU in %.1f s)\n", what,
                meter.percentOfCore(), meter.wakeupsPerSecond(), meter.cpuMs(),
                meter.wallMs() / 1000);
    if (threads)
        std::printf("    threads waking: %s\n",
                    qPrintable(threads->perSecondSince(meter.wallMs() / 1000)));
}

// Longest time, in milliseconds, that one call kept its caller, over several rounds.
double longestCall(int rounds, const std::function<void()> &call)
{
    double longest = 0;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        call();
        longest = std::max(longest, timer.nsecsElapsed() / 1e6);
    }
    return longest;
}

void measureGameSound(const QString &tune, const QString &wav, const QAudioDevice &output,
                      int seconds)
{
    std::printf("\nGameSound, commands posted to its audio thread:\n");
    GameSound sound;
    sound.setOutputDevice(output);
    sound.setTuneFile(tune);
    CpuMeter startUp;
    double open = longestCall(1, [&] { sound.openTune(); });
    double play = longestCall(1, [&] { sound.playTune(); });
    runEventLoopFor(5000);
    report("first Open + Play, rendering included (5 s)", startUp);

    const ThreadWakeups playingThreads;
    CpuMeter playing;
    runEventLoopFor(seconds * 1000);
    report("tune playing", playing, &playingThreads);

    CpuMeter repeats;
    for (int i = 0; i < 5; ++i) {
        open = std::max(open, longestCall(1, [&] {
                            sound.closeTune();
                            sound.openTune();
                        }));
        play = std::max(play, longestCall(1, [&] { sound.playTune(); }));
        runEventLoopFor(2000);
    }
    report("repeat every 2 s: Close, Open, Play", repeats);
    std::printf("longest time in the caller: Close+Open %.3f ms, Play %.3f ms\n", open, play);

    sound.startHitSound(wav);
    CpuMeter both;
    runEventLoopFor(seconds * 1000);
    report("tune playing, hit sound looping", both);

    sound.stopTune();
    CpuMeter hit;
    runEventLoopFor(seconds * 1000);
    report("hit sound looping, music off", hit);

    sound.stopHitSound();
    sound.sync();
    runEventLoopFor(500);
    const ThreadWakeups idleThreads;
    CpuMeter idle;
    runEventLoopFor(seconds * 1000);
    report("idle: music off, no hit sound", idle, &idleThreads);
}

void measureTunePlayer(const QString &tune, const QAudioDevice &output)
{
    std::printf("\nTunePlayer on the calling thread (what the audio thread spends in each "
                "command):\n");
    TunePlayer player;
    player.setOutputDevice(output);
    player.setFile(tune);
    const double firstOpen = longestCall(1, [&] { player.open(); });
    const double firstPlay = longestCall(1, [&] { player.play(); });
    std::printf("first Open %.2f ms, first Play %.2f ms\n", firstOpen, firstPlay);
    runEventLoopFor(2000);
    double open = 0;
    double play = 0;
    double stop = 0;
    for (int i = 0; i < 10; ++i) {
        stop = std::max(stop, longestCall(1, [&] { player.stop(); }));
        play = std::max(play, longestCall(1, [&] { player.play(); }));
        open = std::max(open, longestCall(1, [&] {
                            player.close();
                            player.open();
                        }));
        play = std::max(play, longestCall(1, [&] { player.play(); }));
        runEventLoopFor(300);
    }
    std::printf("unchanged tune, longest: Close+Open %.2f ms, Play %.2f ms, Stop %.2f ms\n", open,
                play, stop);
}

// From the command to the first sound at the sink's monitor, for a fresh GameSound.
void measureOnsets(const QString &tune, const QString &wav, const QAudioDevice &output)
{
    MonitorRecorder recorder(QString::fromUtf8(output.id()) + QStringLiteral(".monitor"));
    if (!recorder.start()) {
        std::printf("\nno onset figures: %s\n", qPrintable(recorder.error()));
        return;
    }
    GameSound sound;
    sound.setOutputDevice(output);
    sound.setTuneFile(tune);
    const auto onsetMs = [&recorder](const std::function<void()> &command) {
        recorder.waitFor(recorder.frames() + MonitorRecorder::framesIn(300));
        const qint64 from = recorder.frames();
        command();
        const qint64 onset = recorder.firstLouderAfter(from, 16, 10000);
        return onset < 0 ? qint64(-1) : (onset - from) * 1000 / MonitorRecorder::Rate;
    };
    const qint64 tuneOnset = onsetMs([&] {
        sound.openTune();
        sound.playTune();
    });
    sound.closeTune();
    const qint64 hitOnset = onsetMs([&] { sound.startHitSound(wav); });
    sound.stopHitSound();
    std::printf("\nheard at the monitor: the first Open+Play after %lld ms (SoundFont and "
                "rendering included), the hit sound after %lld ms\n",
                tuneOnset, hitOnset);
}

void measureLiveFluidSynth(const QString &tune, const QAudioDevice &output, int seconds)
{
    std::printf("\nReference: FluidSynth playing live through its PulseAudio driver, defaults:\n");
    fluid_settings_t *settings = new_fluid_settings();
    fluid_settings_setstr(settings, "audio.driver", "pulseaudio");
    fluid_settings_setstr(settings, "audio.pulseaudio.device", output.id().constData());
    fluid_synth_t *synth = new_fluid_synth(settings);
    fluid_synth_sfload(synth, QFile::encodeName(TuneRendering::defaultSoundFont()).constData(), 1);
    fluid_player_t *player = new_fluid_player(synth);
    fluid_player_add(player, QFile::encodeName(tune).constData());
    fluid_settings_setint(settings, "player.reset-synth", 0);
    fluid_audio_driver_t *driver = new_fluid_audio_driver(settings, synth);
    if (driver) {
        fluid_player_set_loop(player, -1);
        fluid_player_play(player);
        runEventLoopFor(2000);
        CpuMeter live;
        runEventLoopFor(seconds * 1000);
        report("FluidSynth live", live);
        fluid_player_stop(player);
        delete_fluid_audio_driver(driver);
    } else {
        std::printf("FluidSynth's PulseAudio driver did not start\n");
    }
    delete_fluid_player(player);
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const QStringList arguments = app.arguments();
    const qsizetype secondsAt = arguments.indexOf("--seconds");
    const int seconds = secondsAt > 0 ? arguments.value(secondsAt + 1).toInt() : 20;
    const qsizetype tuneAt = arguments.indexOf("--tune");
    QTemporaryDir dir;
    QString tune
        = tuneAt > 0 ? QFileInfo(arguments.value(tuneAt + 1)).absoluteFilePath() : QString();
    if (tune.isEmpty()) {
        tune = dir.filePath("seasound.mid");
        TestMedia::write(tune, TestMedia::busyTune(50));
    }
    const QString wav = dir.filePath("Boom.wav");
    TestMedia::write(wav, TestMedia::levelWav(2000, 400));

    const qsizetype sinkAt = arguments.indexOf("--sink");
    QAudioDevice output = QMediaDevices::defaultAudioOutput();
    for (const QAudioDevice &device : QMediaDevices::audioOutputs()) {
        if (sinkAt > 0 && device.id() == arguments.value(sinkAt + 1).toUtf8())
            output = device;
    }
    if (output.isNull()) {
        std::printf("no audio output: start a sound server (tools/start-audio.sh)\n");
        return 1;
    }
    std::printf("tune %s, %d s per measurement, output %s\n", qPrintable(tune), seconds,
                output.id().constData());
    if (sinkAt > 0)
        measureOnsets(tune, wav, output);
    measureTunePlayer(tune, output);
    measureGameSound(tune, wav, output, seconds);
    if (arguments.contains("--reference"))
        measureLiveFluidSynth(tune, output, seconds);
    return 0;
}
