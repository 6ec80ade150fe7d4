// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// Reads a regular file of at most maxBytes whole. A device or a FIFO, whose size says nothing of
// what it yields, is refused before a byte is read (it is opened without waiting for a writer),
// and the bound holds while reading whatever the file's size said. On failure gives an empty
// array and sets `error` to why, as a sentence without its full stop.
QByteArray ReadRegularFile(const QString& path, qint64 maxBytes, QString& error);
