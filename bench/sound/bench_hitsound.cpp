// How soon a hit sound is heard after the game starts it, its stream opened for it: with the
// music off (the usual case) and with the tune's stream playing. The default sink's monitor is
// recorded in reads of 2 ms; the time until the first loud read reached this program is an upper
// bound of the time until the sound was played.
//
// Usage: bench_hitsound [HITS]     (default 20 of each; needs seabattle-tune beside the game)
#include "sound/gamesound.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <pulse/error.h>
#include <pulse/simple.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int Rate = 8000;
constexpr int ReadFrames = 16; // 2 ms
constexpr int Loud = 2000;

double msSince(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// Records the default sink's monitor on a thread of its own and remembers when loud frames
// arrived. A silent stream of its own keeps the sink at a 10 ms latency, as a sound card's sink
// is rewound for a new stream: an idle null sink would render two seconds ahead.
class Recorder
{
public:
    bool start(QString *why)
    {
        const pa_sample_spec format {PA_SAMPLE_S16LE, Rate, 1};
        const auto unset = uint32_t(-1);
        const pa_buffer_attr recordBuffer {unset, unset, unset, unset, ReadFrames * 2};
        const pa_buffer_attr playBuffer {unset, Rate * 2 / 100, unset, unset, unset};
        int error = 0;
        m_record = pa_simple_new(nullptr, "bench_hitsound", PA_STREAM_RECORD, "@DEFAULT_MONITOR@",
                                 "monitor", &format, nullptr, &recordBuffer, &error);
        if (m_record) {
            m_play = pa_simple_new(nullptr, "bench_hitsound", PA_STREAM_PLAYBACK, nullptr,
                                   "silence", &format, nullptr, &playBuffer, &error);
        }
        if (!m_record || !m_play) {
            *why = QString::fromUtf8(pa_strerror(error));
            return false;
        }
        m_recording = std::thread([this] { record(); });
        m_playing = std::thread([this] {
            const qint16 silence[Rate / 200] = {};
            int error = 0;
            while (!m_stop && pa_simple_write(m_play, silence, sizeof silence, &error) == 0) { }
        });
        return true;
    }
    ~Recorder()
    {
        m_stop = true;
        for (std::thread *thread : {&m_recording, &m_playing}) {
            if (thread->joinable())
                thread->join();
        }
        for (pa_simple *stream : {m_record, m_play}) {
            if (stream)
                pa_simple_free(stream);
        }
    }

    // When the first loud frame that came after `from` arrived, if one did.
    bool loudSince(Clock::time_point from, Clock::time_point *arrived)
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        const auto loud = std::lower_bound(m_loud.begin(), m_loud.end(), from);
        if (loud == m_loud.end())
            return false;
        *arrived = *loud;
        return true;
    }
    // Whether nothing loud has arrived for the given time.
    bool quietFor(double ms)
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_loud.empty() || msSince(m_loud.back(), Clock::now()) > ms;
    }

private:
    void record()
    {
        qint16 samples[ReadFrames];
        int error = 0;
        while (!m_stop && pa_simple_read(m_record, samples, sizeof samples, &error) == 0) {
            const Clock::time_point arrived = Clock::now();
            if (std::any_of(samples, samples + ReadFrames,
                            [](qint16 sample) { return std::abs(int(sample)) > Loud; })) {
                const std::lock_guard<std::mutex> lock(m_mutex);
                m_loud.push_back(arrived);
            }
        }
    }

    pa_simple *m_record = nullptr;
    pa_simple *m_play = nullptr;
    std::thread m_recording;
    std::thread m_playing;
    std::atomic<bool> m_stop = false;
    std::mutex m_mutex;
    std::vector<Clock::time_point> m_loud; // when each loud read arrived
};

QByteArray levelWav(qint16 level, int ms)
{
    const int frames = 44100 * ms / 1000;
    QByteArray wav(
        "RIFF\0\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x44\xac\0\0\x88\x58\x01\0\x02\0\x10\0data", 40);
    wav.resize(44 + frames * 2);
    qToLittleEndian<quint32>(quint32(wav.size() - 8), wav.data() + 4);
    qToLittleEndian<quint32>(quint32(frames * 2), wav.data() + 40);
    for (int i = 0; i < frames; ++i)
        qToLittleEndian<qint16>(level, wav.data() + 44 + 2 * i);
    return wav;
}

// A minute of one organ note, barely audible: it keeps the tune's stream open.
QByteArray faintTune()
{
    const QByteArray track("\x00\xc0\x13\x00\xb0\x07\x14\x00\x90\x3c\x14"
                           "\x83\xd4\x60\x80\x3c\x00\x00\xff\x2f\x00",
                           21);
    QByteArray file("MThd\0\0\0\x06\0\0\0\x01\x01\xf4MTrk\0\0\0", 21);
    file += char(track.size());
    return file + track;
}

bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// How many streams play into the server's sinks, as the server tells.
int streamsPlaying()
{
    QProcess pactl;
    pactl.start(QStringLiteral("pactl"),
                {QStringLiteral("list"), QStringLiteral("short"), QStringLiteral("sink-inputs")});
    pactl.waitForFinished();
    return int(pactl.readAllStandardOutput().count('\n'));
}

bool waitUntil(const std::function<bool()> &condition, int ms)
{
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(ms);
    while (!condition() && Clock::now() < deadline)
        QTest::qWait(5);
    return condition();
}

void report(const char *what, std::vector<double> heard, int hits)
{
    std::sort(heard.begin(), heard.end());
    if (heard.empty())
        std::printf("%s: nothing heard in %d hits\n", what, hits);
    else
        std::printf(
            "%s: heard within median %.1f ms, 90 %% %.1f ms, max %.1f ms (%zu of %d hits)\n", what,
            heard[heard.size() / 2], heard[heard.size() * 9 / 10], heard.back(), heard.size(),
            hits);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int hits = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    QTemporaryDir dir;
    qputenv("XDG_CACHE_HOME", QFile::encodeName(dir.filePath("cache")));
    const QString boom = dir.filePath("Boom.wav");
    const QString tune = dir.filePath("faint.mid");
    Recorder recorder;
    QString why;
    if (!write(boom, levelWav(8000, 400)) || !write(tune, faintTune()))
        why = QStringLiteral("no temporary files");
    else if (!recorder.start(&why))
        why = QStringLiteral("no recording (%1)").arg(why);
    if (!why.isEmpty()) {
        std::fprintf(stderr, "bench_hitsound: %s\n", qPrintable(why));
        return 1;
    }

    const QString renderer = QCoreApplication::applicationDirPath() + "/../../game/seabattle-tune";
    GameSound sound(QDir::cleanPath(renderer));
    sound.setTuneFile(tune);
    for (bool tunePlaying : {false, true}) {
        if (tunePlaying) {
            sound.openTune();
            sound.playTune();
            // Rendered, and its stream beside this program's own silence.
            if (!waitUntil([] { return streamsPlaying() == 2; }, 60000)) {
                std::fprintf(stderr, "bench_hitsound: the tune does not play\n");
                return 1;
            }
        }
        std::vector<double> heard;
        // The first hit is not counted: until then the sink may still be two seconds ahead.
        for (int hit = -1; hit < hits; ++hit) {
            waitUntil([&] { return recorder.quietFor(300); }, 5000);
            const Clock::time_point start = Clock::now();
            sound.startHitSound(boom);
            Clock::time_point arrived;
            if (waitUntil([&] { return recorder.loudSince(start, &arrived); }, 3000) && hit >= 0)
                heard.push_back(msSince(start, arrived));
            QTest::qWait(100);
            sound.stopHitSound();
        }
        report(tunePlaying ? "tune playing" : "music off", heard, hits);
    }
    return 0;
}
