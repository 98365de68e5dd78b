#pragma once

#include <QString>

namespace seikyu {

/// Creates the folder (with its parents) and makes it its owner's alone (0700); a folder that was
/// already there, made by an older version under a permissive umask, is tightened too.
bool makePrivateFolder(const QString &path);

/// Makes the folder its owner's alone (0700) when it exists.
void keepFolderPrivate(const QString &path);

/// Makes the file its owner's alone (0600) when it exists.
void keepPrivate(const QString &path);

/// Creates the file empty and its owner's alone when it does not exist, else tightens it: a file
/// that others write later (a settings file) then keeps these permissions.
void createPrivate(const QString &path);

/// An SQLite database and the journal files beside it (-wal, -shm, -journal), which SQLite creates
/// with the database's own permissions.
void keepDatabasePrivate(const QString &path);

} // namespace seikyu
