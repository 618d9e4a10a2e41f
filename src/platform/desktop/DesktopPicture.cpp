// SPDX-License-Identifier: MIT
#include "platform/desktop/DesktopPicture.h"

#include "platform/desktop/GSettingsText.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QUrl>

#include <algorithm>
#include <cstdio>
#include <map>

namespace sorvala {

namespace {

const char* const gnomeSchema = "org.gnome.desktop.background";
const char* const cinnamonSchema = "org.cinnamon.desktop.background";
const char* const mateSchema = "org.mate.background";

const QString plasmaService = QStringLiteral("org.kde.plasmashell");
const QString xfconfService = QStringLiteral("org.xfce.Xfconf");
const QString xfceChannel = QStringLiteral("xfce4-desktop");

std::string fileUri(const std::filesystem::path& file) {
    return QUrl::fromLocalFile(QString::fromStdString(file.string()))
        .toString(QUrl::FullyEncoded)
        .toStdString();
}

std::optional<std::filesystem::path> pathOfUri(const std::string& uri) {
    if (uri.empty())
        return std::nullopt;
    const QUrl url(QString::fromStdString(uri));
    if (url.isLocalFile())
        return std::filesystem::path(url.toLocalFile().toStdString());
    if (uri.front() == '/')
        return std::filesystem::path(uri);
    return std::nullopt;
}

/// A text as a single-quoted script literal: nothing in a file name can end the string early.
std::string scriptLiteral(const std::string& text) {
    std::string out = "'";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\' || c == '\'') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte == 0x7f) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "'";
}

QVariant unwrapped(QVariant value) {
    while (value.canConvert<QDBusVariant>() && value.userType() == qMetaTypeId<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    return value;
}

QVariantMap asMap(const QVariant& value) {
    if (value.userType() == qMetaTypeId<QDBusArgument>())
        return qdbus_cast<QVariantMap>(value.value<QDBusArgument>());
    return value.toMap();
}

} // namespace

LinuxDesktopPicture::Way desktopPictureWay(const LinuxSession& session) {
    using Way = LinuxDesktopPicture::Way;
    if (session.isDesktop("X-Cinnamon") || session.isDesktop("Cinnamon"))
        return Way::cinnamon;
    if (session.isDesktop("MATE"))
        return Way::mate;
    if (session.isDesktop("KDE"))
        return Way::plasma;
    if (session.isDesktop("XFCE"))
        return Way::xfce;
    if (session.isGnomeFamily())
        return Way::gnome;
    return Way::none;
}

LinuxDesktopPicture::LinuxDesktopPicture(LinuxSession session, QDBusConnection sessionBus, int timeoutMs,
                                         std::function<int()> displayCount)
    : m_way(desktopPictureWay(session)), m_bus(std::move(sessionBus), timeoutMs),
      m_displayCount(std::move(displayCount)) {}

std::string LinuxDesktopPicture::plasmaSetScript(const std::string& uri) {
    return "var all = desktops(); var done = 0;\n"
           "for (var i = 0; i < all.length; ++i) {\n"
           "    var d = all[i];\n"
           "    d.wallpaperPlugin = 'org.kde.image';\n"
           "    d.currentConfigGroup = Array('Wallpaper', 'org.kde.image', 'General');\n"
           "    d.writeConfig('Image', " +
           scriptLiteral(uri) +
           ");\n"
           "    ++done;\n"
           "}\n"
           "print(done + '/' + all.length);\n";
}

std::string LinuxDesktopPicture::plasmaReadScript() {
    return "var all = desktops();\n"
           "for (var i = 0; i < all.length; ++i) {\n"
           "    var d = all[i];\n"
           "    d.currentConfigGroup = Array('Wallpaper', 'org.kde.image', 'General');\n"
           "    print(d.readConfig('Image') + '\\n');\n"
           "}\n";
}

std::vector<std::filesystem::path> LinuxDesktopPicture::currentPictures() {
    std::vector<std::filesystem::path> pictures;
    const auto add = [&](const std::optional<std::string>& uri) {
        if (const auto path = uri ? pathOfUri(*uri) : std::nullopt)
            pictures.push_back(*path);
    };
    switch (m_way) {
    case Way::gnome:
        add(gsettingsString(gnomeSchema, "picture-uri"));
        add(gsettingsString(gnomeSchema, "picture-uri-dark"));
        break;
    case Way::cinnamon: add(gsettingsString(cinnamonSchema, "picture-uri")); break;
    case Way::mate: add(gsettingsString(mateSchema, "picture-filename")); break;
    case Way::plasma: {
        const auto printed =
            m_bus.call(plasmaService, QStringLiteral("/PlasmaShell"), QStringLiteral("org.kde.PlasmaShell"),
                       QStringLiteral("evaluateScript"), {QString::fromStdString(plasmaReadScript())});
        if (printed)
            for (const QString& line : printed->toString().split(QLatin1Char('\n'), Qt::SkipEmptyParts))
                add(line.trimmed().toStdString());
        break;
    }
    case Way::xfce: xfceImageProperties(&pictures); break;
    case Way::none: break;
    }
    return pictures;
}

std::optional<DesktopPicture::Outcome> LinuxDesktopPicture::set(const std::filesystem::path& file) {
    switch (m_way) {
    case Way::gnome:
        return setThroughGSettings(gnomeSchema, {"picture-uri", "picture-uri-dark"}, fileUri(file));
    case Way::cinnamon: return setThroughGSettings(cinnamonSchema, {"picture-uri"}, fileUri(file));
    case Way::mate: return setThroughGSettings(mateSchema, {"picture-filename"}, file.string());
    case Way::plasma: return setOnPlasma(file);
    case Way::xfce: return setOnXfce(file);
    case Way::none: return std::nullopt;
    }
    return std::nullopt;
}

DesktopPicture::Outcome LinuxDesktopPicture::setThroughGSettings(const char* schema,
                                                                 const std::vector<const char*>& keys,
                                                                 const std::string& value) {
    // One picture covers every display: all of them take it or none does.
    Outcome outcome{std::max(1, m_displayCount()), {}};
    std::optional<std::string> failure;
    for (const char* key : keys) {
        // The dark variant arrived with GNOME 42; older schemas simply lack it.
        if (key != keys.front() && !gsettingsHasKey(schema, key))
            continue;
        if (!failure)
            failure = gsettingsSetString(schema, key, value);
    }
    if (!failure) {
        // Fill the screen without distortion, whatever the picture's shape.
        if (gsettingsHasKey(schema, "picture-options"))
            gsettingsSetString(schema, "picture-options", "zoom");
        return outcome;
    }
    outcome.failures.assign(static_cast<std::size_t>(outcome.displays), *failure);
    return outcome;
}

DesktopPicture::Outcome LinuxDesktopPicture::setOnPlasma(const std::filesystem::path& file) {
    Outcome outcome{std::max(1, m_displayCount()), {}};
    const auto printed = m_bus.call(plasmaService, QStringLiteral("/PlasmaShell"),
                                    QStringLiteral("org.kde.PlasmaShell"), QStringLiteral("evaluateScript"),
                                    {QString::fromStdString(plasmaSetScript(fileUri(file)))});
    if (!printed) {
        outcome.failures.assign(static_cast<std::size_t>(outcome.displays),
                                "the Plasma shell did not answer");
        return outcome;
    }
    // Plasma keeps one picture per desktop containment, one per display.
    int done = 0;
    int total = 0;
    if (std::sscanf(printed->toString().trimmed().toUtf8().constData(), "%d/%d", &done, &total) == 2 &&
        total > 0 && done >= 0 && done <= total) {
        outcome.displays = total;
        outcome.failures.assign(static_cast<std::size_t>(total - done),
                                "the Plasma shell refused the picture");
        return outcome;
    }
    // An answer that does not count the desktops set is no confirmation that any was.
    outcome.failures.assign(static_cast<std::size_t>(outcome.displays),
                            "the Plasma shell did not confirm the picture");
    return outcome;
}

std::vector<std::string>
LinuxDesktopPicture::xfceImageProperties(std::vector<std::filesystem::path>* current) {
    std::vector<std::string> properties;
    const auto all =
        m_bus.call(xfconfService, QStringLiteral("/org/xfce/Xfconf"), QStringLiteral("org.xfce.Xfconf"),
                   QStringLiteral("GetAllProperties"), {xfceChannel, QStringLiteral("/backdrop")});
    if (!all)
        return properties;
    const QVariantMap map = asMap(*all);
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        if (!it.key().endsWith(QLatin1String("/last-image")))
            continue;
        properties.push_back(it.key().toStdString());
        if (current) {
            const QString value = unwrapped(it.value()).toString();
            if (!value.isEmpty())
                current->emplace_back(value.toStdString());
        }
    }
    return properties;
}

DesktopPicture::Outcome LinuxDesktopPicture::setOnXfce(const std::filesystem::path& file) {
    // XFCE keeps a picture per monitor and workspace; a display counts as set when every one of
    // its workspaces took the picture.
    const auto properties = xfceImageProperties(nullptr);
    Outcome outcome;
    if (properties.empty()) {
        outcome.displays = std::max(1, m_displayCount());
        outcome.failures.assign(static_cast<std::size_t>(outcome.displays),
                                "xfconf lists no desktop pictures");
        return outcome;
    }
    std::map<std::string, std::optional<std::string>> monitors;
    for (const std::string& property : properties) {
        const std::string monitor = property.substr(0, property.find("/workspace"));
        auto& failure = monitors[monitor];
        QDBusMessage message =
            QDBusMessage::createMethodCall(xfconfService, QStringLiteral("/org/xfce/Xfconf"),
                                           QStringLiteral("org.xfce.Xfconf"), QStringLiteral("SetProperty"));
        message.setArguments({xfceChannel, QString::fromStdString(property),
                              QVariant::fromValue(QDBusVariant(QString::fromStdString(file.string())))});
        const QDBusMessage reply = m_bus.connection().call(message, QDBus::Block, 5000);
        if (reply.type() == QDBusMessage::ErrorMessage && !failure)
            failure = property + ": " + reply.errorMessage().toStdString();
    }
    outcome.displays = static_cast<int>(monitors.size());
    for (const auto& [monitor, failure] : monitors)
        if (failure)
            outcome.failures.push_back(*failure);
    return outcome;
}

} // namespace sorvala
