// Recovery files: the copy of an unsaved script that lets a modder get their work back after a crash,
// a kill or a power cut. RecoveryStore.h keeps them in their folder.
//
// A file holds a header line, the script's path and text as UTF-16 (the exact text, whatever it holds),
// and a digest of all that, so that a damaged or cut-short file is recognised and never loaded.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>

#include <optional>

struct TRecoverySnapshot {
    QString path; // the script's file, empty for a new script
    QString text;
    QDateTime time; // when the copy was taken
    bool operator==(const TRecoverySnapshot&) const = default;
};

QByteArray EncodeRecovery(const TRecoverySnapshot& snapshot);
// Null when the bytes are not a whole, undamaged recovery file, or its text is longer than
// `maxTextLength` UTF-16 units.
std::optional<TRecoverySnapshot> DecodeRecovery(QByteArrayView bytes, qsizetype maxTextLength);
// The most bytes a file that DecodeRecovery accepts can have: anything longer is not read.
qint64 MaxRecoveryFileSize(qsizetype maxTextLength);

// "$XDG_STATE_HOME/tarvane-le/recovery", or "~/.local/state/tarvane-le/recovery" without it.
QString DefaultRecoveryFolder();
