// A language pack: UTF-16 text of quoted and bare items read as INI lines.
// Any bytes must give a pack (possibly empty) whose every key finds its own
// text again, and the readers the window runs on a pack must not fail.
#include "skin/CaptionScroll.h"
#include "skin/LanguagePack.h"
#include "skin/TextSlots.h"

#include <QByteArray>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = orb::DecodePackText(bytes);
    if (text.size() > qsizetype(size / 2))
        std::abort();
    orb::SplitPackItems(text);

    const orb::LanguagePack pack = orb::LanguagePack::fromBytes(bytes, QStringLiteral("lang1"));
    // Every key: a pack is a few hundred keys at most, so the reverse lookup
    // of each stays cheap enough for a fuzzing run.
    for (const QString& key : pack.keys()) {
        if (!pack.contains(key))
            std::abort();
        const QString value = pack.text(key);
        // A found text leads back to a key with the same text.
        if (!value.isEmpty()) {
            const QString found = orb::FindTextKey(value, {pack});
            if (!found.isEmpty() && pack.text(found) != value)
                std::abort();
        }
        // Captions scroll character by character, whatever they hold.
        orb::CaptionScroll scroll;
        scroll.enter(QStringLiteral("label"), value);
        for (int i = 0; i < 3; ++i)
            scroll.step();
    }
    const orb::TextSlots texts = orb::ReadTextSlots(pack);
    texts.deviceLostMessage();
    return 0;
}
