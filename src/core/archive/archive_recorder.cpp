#include "archive/archive_recorder.h"

#include "engine/transaction.h"
#include "exchange/exchange_host.h"
#include "exchange/exchange_state.h"
#include "platform/port_identity.h"
#include "platform/user_folders.h"

#include <QCoreApplication>
#include <QHash>
#include <QSettings>
#include <memory>

namespace {

const QString kObjectKey = QStringLiteral("archive/object");

struct TRecorder {
    std::unique_ptr<TArchiveStore> store;
    QList<TArchiveRecord> waiting;
    // The last failure told; the same one is not told again.
    QString told;
    bool recording = true;
    bool objectLoaded = false;
    QString object;
    QString note;
    // Describing a port lists the system's adapters: once per port name.
    QHash<QString, QString> adapters;
};

TRecorder& recorder();

void closeStore() {
    recorder().store.reset();
}

// Never destroyed at exit: Qt SQL's connections are gone by then. The store
// closes with the application instead.
TRecorder& recorder() {
    static TRecorder* r = [] {
        if (QCoreApplication::instance())
            qAddPostRoutine(closeStore);
        return new TRecorder;
    }();
    return *r;
}

QSettings objectSettings() {
    return QSettings(platform::ConfigFolder() + QStringLiteral("/archive.ini"),
                     QSettings::IniFormat);
}

void tell(const QString& text) {
    TRecorder& r = recorder();
    if (text == r.told)
        return;
    r.told = text;
    LogStatusLine(text, clLogRed);
    exchangeHost().plainMessage(text);
}

void tellMovedAside(TArchiveStore& store) {
    QString cause;
    const QString aside = store.TakeMovedAside(&cause);
    if (!aside.isEmpty())
        tell(QStringLiteral("Архив %1 повреждён (%2) и отложен под именем %3; начат новый архив")
                 .arg(store.Path(), cause, aside));
}

QString adapterOf(const QString& port) {
    TRecorder& r = recorder();
    auto found = r.adapters.constFind(port);
    if (found != r.adapters.constEnd())
        return *found;
    const QString details = port.isEmpty() ? QString() : platform::DescribePort(port);
    r.adapters.insert(port, details);
    return details;
}

} // namespace

QString ArchiveFilePath() {
    return platform::DataFolder() + QStringLiteral("/archive.sqlite");
}

TArchiveStore& ProgramArchive() {
    TRecorder& r = recorder();
    if (!r.store || r.store->Path() != ArchiveFilePath())
        r.store = std::make_unique<TArchiveStore>(ArchiveFilePath());
    if (!r.store->IsOpen())
        r.store->Open(nullptr);
    tellMovedAside(*r.store);
    return *r.store;
}

bool RecordToArchive(TArchiveRecord record) {
    TRecorder& r = recorder();
    if (!r.recording)
        return true;
    if (record.id.isEmpty())
        record.id = NewArchiveId();
    if (!record.time.isValid())
        record.time = QDateTime::currentDateTime();
    if (record.port.isEmpty())
        record.port = ExchangeState.PortName[0];
    if (record.adapter.isEmpty())
        record.adapter = adapterOf(record.port);
    if (record.object.isEmpty())
        record.object = ArchiveObject();
    if (record.note.isEmpty())
        record.note = r.note;
    r.waiting.append(record);
    TArchiveStore& store = ProgramArchive();
    QString problem;
    while (!r.waiting.isEmpty()) {
        const bool added = store.Add(r.waiting.first(), &problem);
        tellMovedAside(store);
        if (!added) {
            tell(QStringLiteral("Архив не записан: %1: %2. Запись будет повторена после "
                                "следующей команды")
                     .arg(store.Path(), problem));
            return false;
        }
        r.waiting.removeFirst();
    }
    r.told.clear();
    return true;
}

int ArchiveWaiting() {
    return static_cast<int>(recorder().waiting.size());
}

void SetArchiveRecording(bool on) {
    recorder().recording = on;
}

bool ArchiveRecording() {
    return recorder().recording;
}

QString ArchiveObject() {
    TRecorder& r = recorder();
    if (!r.objectLoaded) {
        r.object = objectSettings().value(kObjectKey).toString();
        r.objectLoaded = true;
    }
    return r.object;
}

void SetArchiveObject(const QString& object, bool remember) {
    TRecorder& r = recorder();
    r.object = object.trimmed();
    r.objectLoaded = true;
    if (remember)
        objectSettings().setValue(kObjectKey, r.object);
}

QString ArchiveNote() {
    return recorder().note;
}

void SetArchiveNote(const QString& note) {
    recorder().note = note.trimmed();
}

void ResetProgramArchive() {
    TRecorder& r = recorder();
    r.store.reset();
    r.waiting.clear();
    r.told.clear();
    r.recording = true;
    r.objectLoaded = false;
    r.object.clear();
    r.note.clear();
    r.adapters.clear();
}
