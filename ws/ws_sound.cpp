// Wave playback through Qt Multimedia, one sound at a time; recorded instead of played in test mode.
#include <QEventLoop>
#include <QFileInfo>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>

#include "ws/ws_state.h"

namespace ws {
namespace {

// How long a wave file plays, in milliseconds, from its "fmt " and "data" chunks; -1 when it is no wave file.
// A sound's length is what bounds every wait: without an audio device Qt never reports that a sound ended.
int64_t wave_length_ms(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char riff[12];
    if (!in.read(riff, 12) || std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "WAVE", 4) != 0) return -1;
    uint32_t byte_rate = 0;
    for (int chunks = 0; chunks < 64; ++chunks) {
        unsigned char head[8];
        if (!in.read(reinterpret_cast<char*>(head), 8)) return -1;
        uint32_t size = uint32_t(head[4]) | uint32_t(head[5]) << 8 | uint32_t(head[6]) << 16 | uint32_t(head[7]) << 24;
        if (std::memcmp(head, "fmt ", 4) == 0) {
            unsigned char fmt[16];
            if (size < 16 || !in.read(reinterpret_cast<char*>(fmt), 16)) return -1;
            byte_rate = uint32_t(fmt[8]) | uint32_t(fmt[9]) << 8 | uint32_t(fmt[10]) << 16 | uint32_t(fmt[11]) << 24;
            size -= 16;
        } else if (std::memcmp(head, "data", 4) == 0) {
            return byte_rate ? int64_t(size) * 1000 / byte_rate : -1;
        }
        in.seekg(std::streamoff(size) + (size & 1), std::ios::cur);  // chunks are padded to even sizes
    }
    return -1;
}

struct Player {
    std::map<std::string, std::unique_ptr<QSoundEffect>> effects;  // loaded once, kept for the next play
    QSoundEffect* current = nullptr;
    bool looping = false;
    uint32_t ends_at = 0;  // clock time the current single play is over
};

Player& player() {
    static Player& p = *new Player;  // never destroyed: Qt Multimedia must not be torn down after Qt itself
    return p;
}

bool busy(const Player& p) { return p.looping || int32_t(p.ends_at - tick_count()) > 0; }

void stop_all(Player& p) {
    if (p.current) p.current->stop();
    p.current = nullptr;
    p.looping = false;
    p.ends_at = tick_count();
}

QSoundEffect* effect_for(Player& p, const std::string& path) {
    std::unique_ptr<QSoundEffect>& e = p.effects[path];
    if (!e) {
        e = std::make_unique<QSoundEffect>();
        e->setSource(QUrl::fromLocalFile(QFileInfo(QString::fromStdString(path)).absoluteFilePath()));
    }
    return e.get();
}

// Waits (handling nothing but the toolkit's own work) until `done` or `ms` have passed.
template <class Signal, class Done>
void wait_for(QSoundEffect* e, Signal signal, Done done, int64_t ms) {
    if (done() || ms <= 0) return;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(e, signal, &loop, [&] { if (done()) loop.quit(); });
    timer.start(int(std::min<int64_t>(ms, 60000)));
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void start(Player& p, QSoundEffect* e, int64_t length, uint32_t flags) {
    p.current = e;
    p.looping = flags & SND_LOOP;
    e->setLoopCount(p.looping ? QSoundEffect::Infinite : 1);
    uint32_t begun = tick_count();
    p.ends_at = begun + uint32_t(length);
    bool sync = !(flags & SND_ASYNC) && !p.looping;
    // A fresh effect loads its file in the background; a short wait lets a first play be heard from its start.
    // A synchronous play spends its whole wait, loading included, within the sound's own length.
    wait_for(e, &QSoundEffect::statusChanged, [e] { return e->status() != QSoundEffect::Loading; },
             sync ? std::min<int64_t>(length, 200) : 200);
    if (e->status() == QSoundEffect::Ready) e->play();
    if (sync) {
        wait_for(e, &QSoundEffect::playingChanged, [e] { return !e->isPlaying(); },
                 length - int64_t(tick_count() - begun));
        p.ends_at = tick_count();
    }
}

}  // namespace

bool play_wave(const std::string& path, uint32_t flags) {
    Player& p = player();
    bool test = detail::layer().test;
    auto record = [&](bool started) {
        if (test) detail::script().sounds.push_back({path, flags, started});
        return started;
    };
    if (path.empty()) {
        if (!test) stop_all(p);
        p.looping = false;
        p.ends_at = tick_count();
        return record(true);
    }
    int64_t length = wave_length_ms(path);
    if (length < 0) return record(false);
    if ((flags & SND_NOSTOP) && busy(p)) return record(false);
    if (test) {
        // Nothing is heard; the player's state follows the virtual clock as a real play would.
        p.looping = flags & SND_LOOP;
        p.ends_at = (flags & SND_ASYNC) || p.looping ? tick_count() + uint32_t(length) : tick_count();
        return record(true);
    }
    stop_all(p);
    start(p, effect_for(p, path), length, flags);
    return true;
}

namespace detail {
void reset_sound() { stop_all(player()); }
}  // namespace detail

namespace test {
const std::vector<SoundRecord>& sounds() { return detail::script().sounds; }
}  // namespace test

}  // namespace ws
