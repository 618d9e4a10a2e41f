// SPDX-License-Identifier: MIT
#include "platform/QSettingsPreferencesStore.h"

#include "core/Text.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QMetaType>
#include <QObject>
#include <QSettings>
#include <QStringList>
#include <QVariant>

#include <atomic>
#include <cstdlib>

namespace sorvala {

namespace {

QString qText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QVariant toVariant(const PreferenceValue& value) {
    struct Visitor {
        QVariant operator()(bool v) const { return QVariant(v); }
        QVariant operator()(std::int64_t v) const { return QVariant(static_cast<qlonglong>(v)); }
        QVariant operator()(double v) const { return QVariant(v); }
        QVariant operator()(const std::string& v) const { return QVariant(qText(v)); }
        QVariant operator()(const std::vector<std::string>& v) const {
            QStringList list;
            for (const auto& item : v)
                list.append(qText(item));
            return QVariant(list);
        }
    };
    return std::visit(Visitor{}, value);
}

std::optional<PreferenceValue> fromVariant(const QVariant& value) {
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return static_cast<std::int64_t>(value.toLongLong());
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        return static_cast<std::int64_t>(value.toULongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return value.toDouble();
    case QMetaType::QStringList:
    case QMetaType::QVariantList: {
        std::vector<std::string> list;
        for (const QString& item : value.toStringList())
            list.push_back(item.toStdString());
        return list;
    }
    case QMetaType::QByteArray:
        return value.toByteArray().toStdString();
    default:
        if (value.canConvert<QString>())
            return value.toString().toStdString();
        return std::nullopt;
    }
}

// A value read back from the file arrives as text ("true", "20", "0.25"), and a list of one as
// its only element. Where the registered default says what the key holds, give it that type.
PreferenceValue asRegisteredType(PreferenceValue value, const PreferenceValue& registered) {
    if (value.index() == registered.index())
        return value;
    const bool isText = std::holds_alternative<std::string>(value);
    const bool isList = std::holds_alternative<std::vector<std::string>>(value);
    if (!isText && !isList)
        return value; // a typed value written in this process: keep what was stored
    switch (registered.index()) {
    case 0:
        return isList ? value : PreferenceValue(PreferenceConversion::toBoolean(value));
    case 1:
        return isList ? value : PreferenceValue(PreferenceConversion::toInteger(value));
    case 2:
        return isList ? value : PreferenceValue(PreferenceConversion::toNumber(value));
    case 3:
        return Text::joined(std::get<std::vector<std::string>>(value));
    case 4:
        return std::vector<std::string>{std::get<std::string>(value)};
    }
    return value;
}

QByteArray fileContents(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

/// Stands in for a value the file does not hold. No file can produce it: its type has no stream
/// operators for a "@Variant(...)" entry to be read into.
struct Absent {};

const QVariant& absentMarker() {
    static const QVariant marker = QVariant::fromValue(Absent{});
    return marker;
}

const char* statusText(QSettings::Status status) {
    switch (status) {
    case QSettings::NoError:
        return "none";
    case QSettings::AccessError:
        return "access";
    case QSettings::FormatError:
        return "format";
    }
    return "unknown";
}

} // namespace

struct QSettingsPreferencesStore::State {
    State(QString path, Logger& log) : filePath(std::move(path)), settings(filePath, QSettings::IniFormat), logger(log) {}

    QString filePath;
    mutable QSettings settings;
    Logger& logger;
    /// A registered default with its key as QSettings takes it, converted once.
    struct Registered {
        PreferenceValue value;
        QString name;
    };
    std::map<std::string, Registered, std::less<>> registered;

    struct Observers {
        std::map<int, std::function<void()>> byId;
        int nextId = 0;
    };
    std::shared_ptr<Observers> observers = std::make_shared<Observers>();

    // Queued notifications and the file watcher live on this object, so both die with the store.
    QObject context;
    std::unique_ptr<QFileSystemWatcher> watcher;
    std::atomic<bool> notificationQueued{false};
    QByteArray lastSeenContents;
    bool lastWriteFailed = false;

    void queueNotification() {
        if (notificationQueued.exchange(true))
            return;
        QMetaObject::invokeMethod(
            &context,
            [this] {
                notificationQueued = false;
                const auto current = observers->byId; // an observer may unsubscribe while called
                for (const auto& [id, observer] : current)
                    if (observer)
                        observer();
            },
            Qt::QueuedConnection);
    }

    void writeThrough(std::string_view key) {
        settings.sync();
        const QSettings::Status status = settings.status();
        if (status != QSettings::NoError) {
            // One line per run of failures, not one per write.
            if (!lastWriteFailed)
                logger.log("preferences write failed path=" + filePath.toStdString() + " key=" + std::string(key) +
                           " reason=" + statusText(status));
            lastWriteFailed = true;
        } else {
            lastWriteFailed = false;
        }
        lastSeenContents = fileContents(filePath);
        watchFile();
    }

    void watchFile() {
        if (!watcher)
            return;
        const QString directory = QFileInfo(filePath).absolutePath();
        // A save replaces the file, and the watcher loses it; watch it again every time. The
        // folder is watched too, so a file created after we started is noticed.
        if (QFileInfo::exists(directory) && !watcher->directories().contains(directory))
            watcher->addPath(directory);
        if (QFileInfo::exists(filePath) && !watcher->files().contains(filePath))
            watcher->addPath(filePath);
    }

    void fileMayHaveChanged() {
        watchFile();
        const QByteArray contents = fileContents(filePath);
        if (contents == lastSeenContents)
            return; // our own save, or a neighbour in the folder
        lastSeenContents = contents;
        settings.sync();
        queueNotification();
    }
};

QSettingsPreferencesStore::QSettingsPreferencesStore(Logger& logger)
    : QSettingsPreferencesStore(standardPath(), logger) {}

QSettingsPreferencesStore::QSettingsPreferencesStore(std::string filePath, Logger& logger)
    : m_state(std::make_unique<State>(QString::fromStdString(filePath), logger)) {
    m_state->lastSeenContents = fileContents(m_state->filePath);
    if (m_state->settings.status() == QSettings::FormatError)
        logger.log("preferences unreadable path=" + filePath + " reason=format");
    // Without an event loop (a one-shot tool) nobody could hear of outside edits anyway.
    if (QCoreApplication::instance()) {
        m_state->watcher = std::make_unique<QFileSystemWatcher>();
        State* state = m_state.get();
        QObject::connect(m_state->watcher.get(), &QFileSystemWatcher::fileChanged, &m_state->context,
                         [state](const QString&) { state->fileMayHaveChanged(); });
        QObject::connect(m_state->watcher.get(), &QFileSystemWatcher::directoryChanged, &m_state->context,
                         [state](const QString&) { state->fileMayHaveChanged(); });
        m_state->watchFile();
    }
}

QSettingsPreferencesStore::~QSettingsPreferencesStore() {
    m_state->settings.sync();
}

std::string QSettingsPreferencesStore::standardPath() {
    std::string base;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/')
        base = config;
    else if (const char* home = std::getenv("HOME"); home && home[0] != '\0')
        base = std::string(home) + "/.config";
    else
        base = QDir::homePath().toStdString() + "/.config";
    return base + "/Sorvala/Sorvala.conf";
}

std::string QSettingsPreferencesStore::filePath() const {
    return m_state->filePath.toStdString();
}

void QSettingsPreferencesStore::registerDefaults(const std::map<std::string, PreferenceValue>& defaults) {
    for (const auto& [key, value] : defaults)
        m_state->registered.insert_or_assign(key, State::Registered{value, qText(key)});
}

std::set<std::string> QSettingsPreferencesStore::registrationKeys() const {
    std::set<std::string> keys;
    for (const auto& entry : m_state->registered)
        keys.insert(entry.first);
    return keys;
}

bool QSettingsPreferencesStore::hasStoredValue(std::string_view key) const {
    return m_state->settings.contains(qText(key));
}

std::optional<PreferenceValue> QSettingsPreferencesStore::object(std::string_view key) const {
    const auto found = m_state->registered.find(key);
    const State::Registered* registered = found != m_state->registered.end() ? &found->second : nullptr;
    // One look-up answers both questions: a key the file lacks comes back as the marker, while
    // the file's "@Invalid()" comes back as an invalid value.
    const QVariant raw = m_state->settings.value(registered ? registered->name : qText(key), absentMarker());
    if (raw.metaType() != absentMarker().metaType()) {
        std::optional<PreferenceValue> value;
        const bool registeredAsList =
            registered && std::holds_alternative<std::vector<std::string>>(registered->value);
        if (!raw.isValid()) {
            // The file spells an empty list "@Invalid()"; nothing else of ours writes it. Under a
            // key that holds no list it means nothing, and the default applies.
            if (!registered || registeredAsList)
                return std::vector<std::string>{};
        } else {
            value = fromVariant(raw);
        }
        if (value) {
            if (registered)
                return asRegisteredType(std::move(*value), registered->value);
            return value;
        }
        if (raw.isValid())
            m_state->logger.log("preference read failed key=" + std::string(key) + " reason=type");
    }
    if (registered)
        return registered->value;
    return std::nullopt;
}

void QSettingsPreferencesStore::set(std::string_view key, const PreferenceValue& value) {
    m_state->settings.setValue(qText(key), toVariant(value));
    m_state->writeThrough(key);
    m_state->queueNotification();
}

void QSettingsPreferencesStore::remove(std::string_view key) {
    m_state->settings.remove(qText(key));
    m_state->writeThrough(key);
    m_state->queueNotification();
}

Subscription QSettingsPreferencesStore::observeChanges(std::function<void()> observer) {
    auto& observers = *m_state->observers;
    const int id = observers.nextId++;
    observers.byId.emplace(id, std::move(observer));
    return Subscription([weak = std::weak_ptr<State::Observers>(m_state->observers), id] {
        if (const auto alive = weak.lock())
            alive->byId.erase(id);
    });
}

} // namespace sorvala
