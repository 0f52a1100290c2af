#pragma once
// File-system steps of backup and compaction that either succeed or throw a
// tk::Error naming the file and the reason in Turkish.
#include "core/Error.h"

#include <QString>

namespace tk {

// The reason for a failed system call, in Turkish where we know the case.
QString systemErrorText(int errorNumber);

// Creates `folder` with every missing folder above it.
void createFolder(const QString &folder);

// Flushes the file's contents to the disk.
void syncFile(const QString &path);

// Puts `source` in the place of `target` in one atomic step (the old target,
// if any, stays whole until that moment) and flushes the folder entry, so a
// crash leaves either the old or the new file. Both are in the same folder.
void replaceFile(const QString &source, const QString &target);

// Copies `source` to `target` through a temporary file and replaceFile; the
// copy gets the source's permissions and, where allowed, its owner.
void copyFileReplacing(const QString &source, const QString &target);

// Gives `target` the permissions of `model` and, where the process may set
// them, its owner and group.
void takeOwnershipOf(const QString &model, const QString &target);

// Throws when the engine's journal of `database` lies beside it: it belongs
// to the file there now, and put under a new one it would be replayed into it.
void requireNoJournalBeside(const QString &database);

// The hidden file a new `target` is written to before it takes its place.
QString temporaryFor(const QString &target);
// Removes what a write of `target` cut short may have left: its temporary
// file and the engine's journals beside it.
void removeTemporariesOf(const QString &target);

} // namespace tk
