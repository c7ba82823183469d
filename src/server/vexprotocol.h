#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <optional>

// The Vex protocol spoken with the routing server: a message is the frame
// start, one command character, three four-character header fields, the
// payload and the frame end. There is no length field; a message ends at
// the first frame end.
namespace VexProtocol {
inline const QString kFrameStart = QString(2, QChar(2));
inline const QString kFrameEnd = QString(2, QChar(3));
inline const QString kHeaderZeros = QStringLiteral("000000000000");
inline const QString kFieldSeparator = QString(1, QChar(31));  // panel name | panel document
inline const QString kLoginSeparator = QString(2, QChar(30));  // user name | password
}  // namespace VexProtocol

// Command codes (the character at position 3 of a message).
namespace VexCommand {
constexpr int Hello = 1;        // client "F"; the server answers whether a login is needed
constexpr int Login = 40;       // encoded user name and password; the server answers
constexpr int Approved = 41;    // the client was approved: the server may send its lists
constexpr int PanelList = 42;   // name TAB caption, one panel a line
constexpr int Panel = 43;       // client: a panel name; server: name, field separator, document
constexpr int PanelNames = 44;  // one panel name a line
constexpr int StorePanel = 45;  // name, field separator, document
}  // namespace VexCommand

// A message as the client sends it: the header fields are all zeros.
QString buildVexMessage(int code, QStringView payload);

// One received message, cut out of the stream between two frame ends.
struct VexMessage {
  int code = 0;
  int headerA = 0;      // decimal
  int headerB = 0;      // hexadecimal
  int headerC = 0;      // hexadecimal
  QStringView payload;  // a view into the piece it was read from
};

// Reads a piece of the stream (the text before a frame end). Nothing for a
// piece that does not begin with the frame start, is shorter than 15
// characters, or whose header fields are not numbers.
std::optional<VexMessage> parseVexPiece(QStringView piece);

// A number sent by the server as text: the leading number, blanks anywhere
// ignored, rounded to a whole number (halves to even); no number gives 0.
qint32 readServerNumber(QStringView text);

// The name a panel is stored under on the server: the text after the path's
// last "/" or "\", or the whole path when that is its last character.
QString storedPanelName(const QString &path);
// The name the server's list shows for a panel stored at that path: the
// stored name without ".xml" (derivePanelPath's inverse).
QString listedPanelName(const QString &path);

// The text between the last "\" and the last "." of a path when the "."
// comes after the "\"; otherwise the whole path.
QString panelTagFromServerPath(const QString &path);
