#include "AdversarialTexts.h"

#include "app/Escapes.h"
#include "app/Restore.h"

#include "framework/Failure.h"

#include <gtest/gtest.h>

namespace {

bool IsPlain(TColor c) { return (static_cast<std::uint32_t>(c) >> 24) == 0; }

} // namespace

TEST(RestoreRobustness, HostileTextsGiveAPlainColourOrNothing)
{
    const QStringList texts = AdversarialTexts(4000);
    for (const QString &t : texts) {
        try {
            if (const auto w = RestorePov(t)) {
                EXPECT_TRUE(IsPlain(w->MyColor)) << t.toStdString();
            }
        } catch (const EConvertError &) {
        }
        try {
            if (const auto w = RestorePercent(t, t, t, true)) {
                EXPECT_TRUE(IsPlain(w->MyColor)) << t.toStdString();
            }
        } catch (const EConvertError &) {
        }
        try {
            if (const auto c = RestoreBytes(t, t, t)) {
                EXPECT_TRUE(IsPlain(*c)) << t.toStdString();
            }
        } catch (const EConvertError &) {
        }
        if (const auto c = RestoreConstant(t)) {
            EXPECT_LE(static_cast<std::uint32_t>(*c) >> 24, 2u) << t.toStdString();
        }
        if (const auto c = RestoreHtml(t)) {
            EXPECT_TRUE(IsPlain(*c)) << t.toStdString();
        }

        if (IsPovHx(t))
            (void)ChangeDelHex(t);
        (void)ChangeDelHex(TextToPovEscapes(t));
    }
}
