#pragma once

#include <QString>

// The remembered connection: one line "tcp://address:port:user" + CR LF in
// "TessaryConnect.txt" of the common data folder, so that the next start
// proposes the last server. The password is never written.

// The all-users data folder for this program ("…/CorvanePC/"), created when
// missing; empty when it cannot be had.
QString commonFolder();

// Where the remembered connection lives: in the common data folder, or in
// the current folder when there is none.
QString connectionDataFile();

// A server address worth trying and remembering: not empty, and no spaces,
// control characters or "/".
bool isUsableServerAddress(const QString &address);

// A host name (letters, digits, "-" and "_" in dot-separated labels of at
// most 63 characters) or an IP address, at most 253 characters in all: what
// a server may announce as its address.
bool isHostAddress(QStringView address);

// Writes the line from the program-wide address, port and user name; an
// address that is not usable is never remembered. Failures are ignored.
void saveConnectionData();

// Forgets the remembered connection: the next start works locally.
void forgetConnectionData();

// The file's text with every CR and LF removed; a file left with nothing is
// deleted. Empty when the file is missing or cannot be read.
QString readConnectionData();
