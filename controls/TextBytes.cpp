#include "controls/TextBytes.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace kelmora {

namespace {

// CP932 by its name; where the toolkit knows no such name, the system's own code
// page (which is 932 wherever the program asks for it).
QStringDecoder cp932Decoder()
{
    QStringDecoder decoder("windows-31j", QStringConverter::Flag::Stateless);
    return decoder.isValid() ? std::move(decoder)
                             : QStringDecoder(QStringConverter::System, QStringConverter::Flag::Stateless);
}

QStringEncoder cp932Encoder()
{
    QStringEncoder encoder("windows-31j", QStringConverter::Flag::Stateless);
    return encoder.isValid() ? std::move(encoder)
                             : QStringEncoder(QStringConverter::System, QStringConverter::Flag::Stateless);
}

QByteArray rawBytes(std::string_view bytes) { return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())); }

}  // namespace

QString fromSystemBytes(std::string_view bytes, platform::CodePage cp)
{
    if (cp == platform::CodePage::Utf8) return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    // One character at a time, so a broken one (which the converter may turn into
    // a control character) is the only one lost.
    QStringDecoder decoder = cp932Decoder();
    QString text;
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t end = platform::charEnd(bytes, pos, cp);
        const std::string_view piece = bytes.substr(pos, end - pos);
        const QString ch = decoder.decode(rawBytes(piece));
        const bool broken = ch.isEmpty() || (ch == QChar(0x1A) && piece != "\x1A");
        text += broken ? QString(QChar::ReplacementCharacter) : ch;
        pos = end;
    }
    return text;
}

std::string toSystemBytes(const QString& text, platform::CodePage cp)
{
    if (cp == platform::CodePage::Utf8) return text.toStdString();
    QStringEncoder encoder = cp932Encoder();
    QStringDecoder decoder = cp932Decoder();
    std::string bytes;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype units = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QStringView ch = QStringView(text).mid(i, units);
        const QByteArray encoded = encoder.encode(ch);
        // A character the code page lacks comes back as something else.
        bytes += QString(decoder.decode(encoded)) == ch ? encoded.toStdString() : std::string("?");
        i += units;
    }
    return bytes;
}

}  // namespace kelmora
