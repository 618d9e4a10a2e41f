// SPDX-License-Identifier: MIT
// sorvalactl sound NAME [--volume V]: plays one chime and returns when it has ended.
#include "QtCommand.h"
#include "Subcommand.h"

#include "i18n/I18n.h"
#include "notices/SoundDesign.h"
#include "platform/audio/AppSound.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <charconv>
#include <cmath>
#include <optional>
#include <string>

namespace sorvala::ctl {

namespace {

// TRANSLATORS: NAME, V, --volume and the sound names stay as they are.
constexpr const char* usage = I18N_NOOP("usage: sorvalactl sound NAME [--volume V]\n"
    "Plays one of Sorvala's chimes and waits until it has ended.\n"
    "NAME is one of Glass, Submarine, Hero, Purr, Pop, Tink; V is a volume from 0 to 1 (default 0.25).\n");

// A chime is at most 1.5 s long; anything past this means the sound server stalled.
constexpr int giveUpAfterMs = 10000;

std::optional<double> parseVolume(const std::string& text) {
    double value = 0;
    const auto end = text.data() + text.size();
    const auto [rest, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || rest != end || !std::isfinite(value) || value < 0 || value > 1)
        return std::nullopt;
    return value;
}

std::string soundList() {
    std::string list;
    for (auto name : SoundDesign::soundNames)
        list += (list.empty() ? "" : ", ") + std::string(name);
    return list;
}

} // namespace

int soundCommand(const Invocation& invocation) {
    if (wantsHelp(invocation)) {
        invocation.out << i18n(usage);
        return 0;
    }
    std::optional<std::string> name;
    double volume = 0.25;
    for (std::size_t i = 0; i < invocation.args.size(); ++i) {
        const std::string& arg = invocation.args[i];
        if (arg == "--volume") {
            if (i + 1 >= invocation.args.size())
                return fail(invocation, i18n("--volume needs a value from 0 to 1"));
            const auto parsed = parseVolume(invocation.args[++i]);
            if (!parsed)
                return fail(invocation, i18n("volume '%1' is not a number from 0 to 1", invocation.args[i]));
            volume = *parsed;
        } else if (!name && !arg.starts_with("-")) {
            name = arg;
        } else {
            return fail(invocation, i18n("unexpected argument '%1' (see sorvalactl sound --help)", arg));
        }
    }
    if (!name)
        return fail(invocation, i18n("which sound? one of %1", soundList()));
    if (!SoundDesign::isSoundName(*name))
        return fail(invocation, i18n("unknown sound '%1' (one of %2)", *name, soundList()));

    const auto app = coreApplicationIfMissing();
    StreamLogger log(invocation.err);
    AppSound sound(log);
    if (!sound.playSound(*name, static_cast<float>(volume))) {
        invocation.err << "sorvalactl: " << i18n("the sound could not be played") << '\n';
        return 1;
    }
    QEventLoop loop;
    QTimer poll;
    QElapsedTimer waited;
    waited.start();
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (!sound.isPlaying() || sound.failed() || waited.elapsed() > giveUpAfterMs)
            loop.quit();
    });
    poll.start(20);
    loop.exec();
    if (sound.unheard()) {
        invocation.err << "sorvalactl: " << i18n("no audio output to play on") << '\n';
        return 1;
    }
    if (sound.failed()) {
        invocation.err << "sorvalactl: " << i18n("the sound could not be played") << '\n';
        return 1;
    }
    return 0;
}

} // namespace sorvala::ctl
