#include "framework/ColorDialog.h"
#include "framework/ComponentImage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

enum TProbeMode { pmFirst, pmSecond, pmTrue, pmNull, pmNil };

// A component with one published property of every kind.
class TProbe : public TComponent {
public:
    using TComponent::TComponent;
    QString ClassName() const override { return QStringLiteral("TProbe"); }

    int Number = 0;
    int Counter = 0;
    bool Flag = false;
    TProbeMode Mode = pmFirst;
    unsigned Members = 0;
    TColor Shade = clWindow;
    QString Text;
    TNotifyEvent OnPing;
    QStringList Lines;

    const TPropList &Properties() const override
    {
        static const TPropList props = [] {
            TPropList p = BaseProperties();
            AddProperty(p, OrdinalProperty("Number", TPropKind::Integer, &TProbe::Number, 0));
            AddProperty(p, OrdinalProperty("Counter", TPropKind::Integer, &TProbe::Counter, std::nullopt));
            AddProperty(p, OrdinalProperty("Flag", TPropKind::Bool, &TProbe::Flag, 0));
            AddProperty(p, OrdinalProperty("Mode", TPropKind::Enum, &TProbe::Mode, pmFirst,
                                           {"pmFirst", "pmSecond", "True", "Null", "nil"}));
            AddProperty(p, OrdinalProperty("Members", TPropKind::Set, &TProbe::Members, 0, {"smA", "smB", "smC"}));
            AddProperty(p, OrdinalProperty("Shade", TPropKind::Color, &TProbe::Shade, clWindow));
            AddProperty(p, TextProperty("Text", &TProbe::Text));
            AddProperty(p, EventProperty("OnPing", &TProbe::OnPing));
            AddProperty(p, StringsProperty("Lines", &TProbe::Lines));
            // Declared again: keeps the ancestor's place, with a new default.
            AddProperty(p, OrdinalProperty("Tag", TPropKind::Integer, &TProbe::Tag, 7));
            return p;
        }();
        return props;
    }
};

class TTestForm : public TComponent {
public:
    TTestForm()
    {
        DeclareReference(QStringLiteral("Probe"), Probe);
        DeclareReference(QStringLiteral("ColorDialog"), ColorDialog);
    }
    QString ClassName() const override { return QStringLiteral("TTestForm"); }
    bool IsForm() const override { return true; }
    std::function<void(TComponent *)> MethodAddress(const QString &method) const override
    {
        if (method == QLatin1String("ProbePing"))
            return [this](TComponent *) { ++const_cast<TTestForm *>(this)->Pings; };
        return {};
    }

    TProbe *Probe = nullptr;
    TColorDialog *ColorDialog = nullptr;
    int Pings = 0;
};

void RegisterProbe()
{
    RegisterComponentClass(QStringLiteral("TProbe"), [](TComponent *owner) { return new TProbe(owner); });
    TColorDialog::RegisterClass();
}

QByteArray Short(const QByteArray &s)
{
    return char(s.size()) + s;
}

// Image of a TProbe named "Probe" with the given property entries.
QByteArray ProbeImage(const QByteArray &entries)
{
    return "TPF0" + Short("TProbe") + Short("Probe") + entries + QByteArray(3, '\0');
}

QByteArray Entries(const TComponent &c)
{
    const QByteArray image = WriteComponentImage(c);
    const qsizetype head = 4 + 1 + c.ClassName().size() + 1 + c.Name().size();
    return image.mid(head, image.size() - head - 3);
}

} // namespace

// ---- writing rules ------------------------------------------------------------------------------

struct TWriteCase {
    const char *what;
    std::function<void(TProbe &)> set;
    QByteArray entries;
};

class WriteRule : public testing::TestWithParam<TWriteCase> {};

TEST_P(WriteRule, ProducesExactEntries)
{
    TProbe probe;
    probe.SetName(QStringLiteral("Probe"));
    probe.Tag = 7;
    GetParam().set(probe);
    EXPECT_EQ(Entries(probe).toHex(' '), GetParam().entries.toHex(' ')) << GetParam().what;
}

const QByteArray CounterZero = Short("Counter") + QByteArray("\x02\x00", 2);

INSTANTIATE_TEST_SUITE_P(
    ComponentImage, WriteRule,
    testing::Values(
        TWriteCase{"defaults omitted, ordinal without default always written", [](TProbe &) {}, CounterZero},
        TWriteCase{"127 takes tag 2", [](TProbe &p) { p.Number = 127; },
                   Short("Number") + QByteArray("\x02\x7F") + CounterZero},
        TWriteCase{"-128 takes tag 2", [](TProbe &p) { p.Number = -128; },
                   Short("Number") + QByteArray("\x02\x80") + CounterZero},
        TWriteCase{"128 takes tag 3", [](TProbe &p) { p.Number = 128; },
                   Short("Number") + QByteArray("\x03\x80\x00", 3) + CounterZero},
        TWriteCase{"-32769 takes tag 4", [](TProbe &p) { p.Number = -32769; },
                   Short("Number") + QByteArray("\x04\xFF\x7F\xFF\xFF") + CounterZero},
        TWriteCase{"redeclared property keeps its place and new default", [](TProbe &p) { p.Tag = 0; },
                   Short("Tag") + QByteArray("\x02\x00", 2) + CounterZero},
        TWriteCase{"flag as tag 9", [](TProbe &p) { p.Flag = true; }, CounterZero + Short("Flag") + "\x09"},
        TWriteCase{"enum identifier", [](TProbe &p) { p.Mode = pmSecond; },
                   CounterZero + Short("Mode") + "\x07" + Short("pmSecond")},
        TWriteCase{"True identifier as tag 9", [](TProbe &p) { p.Mode = pmTrue; }, CounterZero + Short("Mode") + "\x09"},
        TWriteCase{"Null identifier as tag 0", [](TProbe &p) { p.Mode = pmNull; },
                   CounterZero + Short("Mode") + QByteArray(1, '\0')},
        TWriteCase{"nil identifier as tag 13", [](TProbe &p) { p.Mode = pmNil; }, CounterZero + Short("Mode") + "\x0D"},
        TWriteCase{"set members ascending", [](TProbe &p) { p.Members = 0b101; },
                   CounterZero + Short("Members") + "\x0B" + Short("smA") + Short("smC") + QByteArray(1, '\0')},
        TWriteCase{"named colour as identifier", [](TProbe &p) { p.Shade = clNone; },
                   CounterZero + Short("Shade") + "\x07" + Short("clNone")},
        TWriteCase{"plain colour as integer", [](TProbe &p) { p.Shade = 0x123456; },
                   CounterZero + Short("Shade") + "\x04\x56\x34\x12" + QByteArray(1, '\0')},
        TWriteCase{"255-byte string as tag 6", [](TProbe &p) { p.Text = QString(255, u'a'); },
                   CounterZero + Short("Text") + "\x06\xFF" + QByteArray(255, 'a')},
        TWriteCase{"256-byte string as tag 12", [](TProbe &p) { p.Text = QString(256, u'a'); },
                   CounterZero + Short("Text") + QByteArray("\x0C\x00\x01\x00\x00", 5) + QByteArray(256, 'a')},
        TWriteCase{"event as its method name", [](TProbe &p) { p.OnPing.Method = QStringLiteral("ProbePing"); },
                   CounterZero + Short("OnPing") + "\x07" + Short("ProbePing")},
        TWriteCase{"string list as .Strings list of strings",
                   [](TProbe &p) { p.Lines = {QStringLiteral("a"), QString()}; },
                   CounterZero + Short("Lines.Strings") + "\x01\x06\x01" "a" + QByteArray("\x06\x00\x00", 3)},
        TWriteCase{"design position only when not zero", [](TProbe &p) { p.DesignTop = -1; },
                   CounterZero + Short("Top") + "\x02\xFF"}));

TEST(ComponentImage, ColorDialogEntriesComeInDeclarationOrder)
{
    TColorDialog d;
    d.SetName(QStringLiteral("ColorDialog"));
    d.Tag = 1;
    d.Ctl3D = true;
    d.HelpContext = 2;
    d.OnClose.Method = QStringLiteral("A");
    d.OnShow.Method = QStringLiteral("B");
    d.Color = clTeal;
    d.CustomColors = {QStringLiteral("ColorA=FFFFFF")};
    d.Options = OptionBit(cdSolidColor) | OptionBit(cdFullOpen);
    d.DesignLeft = 3;
    d.DesignTop = 4;
    const QByteArray expected = Short("Tag") + "\x02\x01" + Short("Ctl3D") + "\x09" + Short("HelpContext") + "\x02\x02"
                                + Short("OnClose") + "\x07\x01" "A" + Short("OnShow") + "\x07\x01" "B" + Short("Color")
                                + "\x07" + Short("clTeal") + Short("CustomColors.Strings") + "\x01\x06"
                                + Short("ColorA=FFFFFF") + QByteArray(1, '\0') + Short("Options") + "\x0B"
                                + Short("cdFullOpen") + Short("cdSolidColor") + QByteArray(1, '\0') + Short("Left")
                                + "\x02\x03" + Short("Top") + "\x02\x04";
    EXPECT_EQ(Entries(d).toHex(' '), expected.toHex(' '));
}

TEST(ComponentImage, NewColorDialogStoresNothingAndCtl3DSurvivesEitherWay)
{
    TColorDialog fresh;
    fresh.SetName(QStringLiteral("ColorDialog"));
    EXPECT_TRUE(Entries(fresh).isEmpty());
    RegisterProbe();
    for (const bool ctl3d : {false, true}) {
        TTestForm form;
        auto *d = new TColorDialog(&form);
        d->SetName(QStringLiteral("ColorDialog"));
        d->Ctl3D = ctl3d;
        ASSERT_NE(ReadComponentImage(WriteComponentImage(*d), d), nullptr);
        ASSERT_NE(form.ColorDialog, nullptr);
        EXPECT_EQ(form.ColorDialog->Ctl3D, ctl3d);
    }
}

TEST(ComponentImage, FormIsNotWrittenAndNotReplaced)
{
    TTestForm form;
    EXPECT_TRUE(WriteComponentImage(form).isEmpty());
    EXPECT_EQ(ReadComponentImage("TPF0" + Short("TTestForm") + Short("") + QByteArray(3, '\0'), &form), nullptr);
}

// ---- reading -------------------------------------------------------------------------------------

TEST(ComponentImage, ColorDialogRoundTripsEveryProperty)
{
    TTestForm form;
    auto *d = new TColorDialog(&form);
    d->SetName(QStringLiteral("ColorDialog"));
    d->Tag = -5;
    d->HelpContext = 100000;
    d->Color = 0x00D1B598;
    d->CustomColors = {QStringLiteral("ColorA=98B5D1"), QStringLiteral("ColorB=FFFFFF")};
    d->Options = OptionBit(cdFullOpen) | OptionBit(cdAnyColor);
    d->DesignLeft = 248;
    d->DesignTop = 104;
    const QByteArray image = WriteComponentImage(*d);
    ASSERT_NE(ReadComponentImage(image, d), nullptr);
    ASSERT_NE(form.ColorDialog, nullptr);
    const TColorDialog &r = *form.ColorDialog;
    EXPECT_EQ(r.Tag, -5);
    EXPECT_EQ(r.HelpContext, 100000);
    EXPECT_EQ(r.Color, 0x00D1B598);
    EXPECT_EQ(r.CustomColors, (QStringList{"ColorA=98B5D1", "ColorB=FFFFFF"}));
    EXPECT_EQ(r.Options, OptionBit(cdFullOpen) | OptionBit(cdAnyColor));
    EXPECT_EQ(r.DesignLeft, 248);
    EXPECT_EQ(r.DesignTop, 104);
    EXPECT_EQ(WriteComponentImage(r), image);
}

TEST(ComponentImage, EventsAreBoundThroughTheOwnersMethods)
{
    RegisterProbe();
    TTestForm form;
    (new TProbe(&form))->SetName(QStringLiteral("Probe"));
    ASSERT_NE(ReadComponentImage(ProbeImage(Short("OnPing") + "\x07" + Short("ProbePing")), form.Probe), nullptr);
    EXPECT_EQ(form.Probe->OnPing.Method, QStringLiteral("ProbePing"));
    form.Probe->OnPing(form.Probe);
    EXPECT_EQ(form.Pings, 1);

    TProbe *before = form.Probe;
    EXPECT_EQ(ReadComponentImage(ProbeImage(Short("OnPing") + "\x07" + Short("NoSuchMethod")), form.Probe), nullptr);
    EXPECT_EQ(form.Probe, before);
    EXPECT_EQ(form.Probe->OnPing.Method, QStringLiteral("ProbePing"));
}

// Every tag 0 to 19 parses into the value tree.
TEST(ComponentImage, EveryTagIsRead)
{
    const QByteArray one = QByteArray::fromHex("0000000000000080FF3F"); // 1.0 as 80-bit extended
    float single = 2.5f;
    double date = 45000.25;
    const QByteArray values[20] = {
        QByteArray(1, '\0'),
        QByteArray("\x01\x02\x05\x06\x01x\x00", 7),
        QByteArray("\x02\xFE", 2),
        QByteArray("\x03\x00\x80", 3),
        QByteArray("\x04\x01\x00\x00\x80", 5),
        "\x05" + one,
        QByteArray("\x06\x02hi", 4),
        QByteArray("\x07\x03" "abc", 5),
        "\x08",
        "\x09",
        QByteArray("\x0A\x02\x00\x00\x00\xAB\xCD", 7),
        QByteArray("\x0B\x01" "a\x01" "b\x00", 6),
        QByteArray("\x0C\x01\x00\x00\x00z", 6),
        "\x0D",
        QByteArray("\x0E\x01\x01p\x02\x01\x00\x02\x03\x01\x01q\x09\x00\x00", 15),
        "\x0F" + QByteArray(reinterpret_cast<const char *>(&single), 4),
        QByteArray("\x10\x10\x27\x00\x00\x00\x00\x00\x00", 9),
        "\x11" + QByteArray(reinterpret_cast<const char *>(&date), 8),
        QByteArray("\x12\x01\x00\x00\x00\x72\x82", 7),
        QByteArray("\x13\x00\x00\x00\x00\x00\x00\x00\x80", 9),
    };
    for (int tag = 0; tag < 20; ++tag) {
        TImageRecord r;
        ASSERT_TRUE(ParseComponentImage(ProbeImage(Short("P") + values[tag]), r)) << tag;
        ASSERT_EQ(r.Properties.size(), 1u) << tag;
        const TImageValue &v = r.Properties[0].Value;
        EXPECT_EQ(v.Tag, tag);
        switch (tag) {
        case vaList: ASSERT_EQ(v.Items.size(), 2u); EXPECT_EQ(v.Items[0].Int, 5); EXPECT_EQ(v.Items[1].Bytes, "x"); break;
        case vaInt8: EXPECT_EQ(v.Int, -2); break;
        case vaInt16: EXPECT_EQ(v.Int, -32768); break;
        case vaInt32: EXPECT_EQ(v.Int, -2147483647); break;
        case vaExtended: EXPECT_EQ(v.Float, 1.0); break;
        case vaString: EXPECT_EQ(v.Bytes, "hi"); break;
        case vaIdent: EXPECT_EQ(v.Bytes, "abc"); break;
        case vaBinary: EXPECT_EQ(v.Bytes, QByteArray("\xAB\xCD")); break;
        case vaSet: EXPECT_EQ(v.Members, (std::vector<QByteArray>{"a", "b"})); break;
        case vaLString: EXPECT_EQ(v.Bytes, "z"); break;
        case vaCollection:
            ASSERT_EQ(v.CollectionItems.size(), 2u);
            EXPECT_EQ(v.CollectionItems[0][0].Name, "p");
            EXPECT_EQ(v.CollectionItems[1][0].Value.Tag, vaTrue);
            break;
        case vaSingle: EXPECT_EQ(v.Float, 2.5); break;
        case vaCurrency: EXPECT_EQ(v.Float, 1.0); break;
        case vaDate: EXPECT_EQ(v.Float, 45000.25); break;
        case vaWString: EXPECT_EQ(v.Bytes, QByteArray("\x72\x82")); break;
        case vaInt64: EXPECT_EQ(v.Int, std::numeric_limits<std::int64_t>::min()); break;
        default: break;
        }
    }
}

TEST(ComponentImage, ExtendedFloatConvertsToDouble)
{
    auto conv = [](const char *hex) {
        const QByteArray b = QByteArray::fromHex(hex);
        return ExtendedToDouble(reinterpret_cast<const unsigned char *>(b.constData()));
    };
    EXPECT_EQ(conv("0000000000000080FF3F"), 1.0);
    EXPECT_EQ(conv("00000000000000A000C0"), -2.5);
    EXPECT_EQ(conv("00000000000000000000"), 0.0);
    EXPECT_EQ(conv("0000000000000080FB3F"), 0.0625);
    EXPECT_TRUE(std::isinf(conv("0000000000000080FF7F")));
    EXPECT_TRUE(std::isnan(conv("00000000000000C0FF7F")));
    EXPECT_EQ(conv("0000000000000080FE7F"), std::numeric_limits<double>::infinity()); // beyond double
    EXPECT_EQ(conv("01000000000000000000"), 0.0);                                      // tiny denormal
}

TEST(ComponentImage, TextsKeepALeadingByteOrderMark)
{
    RegisterProbe();
    TTestForm form;
    auto *probe = new TProbe(&form);
    probe->SetName(QStringLiteral("Probe"));
    const QString marked = QChar(0xFEFF) + QStringLiteral("あ");
    probe->Text = marked;
    probe->Lines = {marked, QStringLiteral("b")};
    const QByteArray image = WriteComponentImage(*probe);
    ASSERT_NE(ReadComponentImage(image, probe), nullptr);
    ASSERT_NE(form.Probe, nullptr);
    EXPECT_EQ(form.Probe->Text, marked);
    EXPECT_EQ(form.Probe->Lines, (QStringList{marked, QStringLiteral("b")}));
    EXPECT_EQ(WriteComponentImage(*form.Probe), image);
}

TEST(ComponentImage, ValuesOfEveryKindReadFromTheirOtherForms)
{
    RegisterProbe();
    TTestForm form;
    (new TProbe(&form))->SetName(QStringLiteral("Probe"));
    const QByteArray wide = QByteArray("\x12\x02\x00\x00\x00", 5) + QByteArray("\x72\x82\x6E\x30", 4);
    const QByteArray entries = Short("Number") + QByteArray("\x13\xFF\xFF\xFF\x7F\x00\x00\x00\x00", 9)
                               + Short("Mode") + "\x09" + Short("Shade") + "\x07" + Short("CLRED") + Short("Text") + wide
                               + Short("lines.strings") + "\x01" + wide + QByteArray("\x0C\x00\x00\x00\x00\x00", 6)
                               + Short("LEFT") + "\x02\x09" + Short("Members") + "\x0B" + Short("SMB") + QByteArray(1, '\0');
    ASSERT_NE(ReadComponentImage(ProbeImage(entries), form.Probe), nullptr);
    const TProbe &p = *form.Probe;
    EXPECT_EQ(p.Number, 2147483647);
    EXPECT_EQ(p.Mode, pmTrue);
    EXPECT_EQ(p.Shade, clRed);
    EXPECT_EQ(p.Text, QStringLiteral("色の"));
    EXPECT_EQ(p.Lines, (QStringList{QStringLiteral("色の"), QString()}));
    EXPECT_EQ(p.DesignLeft, 9);
    EXPECT_EQ(p.Members, 2u);
}

TEST(ComponentImage, ImageOfAnotherClassReplacesComponentOnlyWhenReferenceFits)
{
    RegisterProbe();
    TTestForm form;
    auto *probe = new TProbe(&form);
    probe->SetName(QStringLiteral("Probe"));
    const QByteArray dialogAsProbe = "TPF0" + Short("TColorDialog") + Short("Probe") + QByteArray(3, '\0');
    EXPECT_EQ(ReadComponentImage(dialogAsProbe, probe), nullptr) << "the Probe reference holds a TProbe";
    EXPECT_EQ(form.Probe, probe);
    EXPECT_EQ(form.Components().size(), 1u);

    auto *other = new TProbe(&form);
    other->SetName(QStringLiteral("ColorDialog"));
    EXPECT_EQ(form.ColorDialog, nullptr);
    const QByteArray dialogImage = "TPF0" + Short("TColorDialog") + Short("ColorDialog") + QByteArray(3, '\0');
    TComponent *fresh = ReadComponentImage(dialogImage, other);
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(form.ColorDialog, fresh);
    EXPECT_EQ(fresh->ClassName(), QStringLiteral("TColorDialog"));
    EXPECT_EQ(form.Components().size(), 2u);
}

TEST(ComponentImage, ComponentWithoutOwnerIsReplacedByFreeInstance)
{
    RegisterProbe();
    auto *old = new TProbe;
    old->SetName(QStringLiteral("Probe"));
    std::unique_ptr<TComponent> fresh(ReadComponentImage(ProbeImage(Short("Number") + "\x02\x03"), old));
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->Owner(), nullptr);
    EXPECT_EQ(static_cast<TProbe &>(*fresh).Number, 3);
    EXPECT_EQ(fresh->Name(), QStringLiteral("Probe"));
}

TEST(ComponentImage, EmptyOrOversizedImageIsRejected)
{
    TTestForm form;
    auto *d = new TColorDialog(&form);
    d->SetName(QStringLiteral("ColorDialog"));
    EXPECT_EQ(ReadComponentImage({}, d), nullptr);
    EXPECT_EQ(ReadComponentImage(QByteArray(MaxImageSize + 1, '\0'), d), nullptr);
    EXPECT_EQ(ReadComponentImage(QByteArray("TPF0"), d), nullptr);
    EXPECT_EQ(ReadComponentImage({}, nullptr), nullptr);
    EXPECT_EQ(form.ColorDialog, d);
}

TEST(ComponentImage, ListNestingUpToTheCapReads)
{
    TImageRecord r;
    const int depth = MaxImageDepth;
    EXPECT_TRUE(ParseComponentImage(ProbeImage(Short("P") + QByteArray(depth, '\x01') + QByteArray(depth, '\0')), r));
    EXPECT_FALSE(ParseComponentImage(
        ProbeImage(Short("P") + QByteArray(MaxImageDepth + 1, '\x01') + QByteArray(MaxImageDepth + 1, '\0')), r));
}

// ---- names and references ------------------------------------------------------------------------

TEST(ComponentReference, FollowsRenameAndDestruction)
{
    TTestForm form;
    auto *a = new TProbe(&form);
    EXPECT_EQ(form.Probe, nullptr);
    a->SetName(QStringLiteral("probe"));
    EXPECT_EQ(form.Probe, a);
    a->SetName(QStringLiteral("Other"));
    EXPECT_EQ(form.Probe, nullptr);
    a->SetName(QStringLiteral("Probe"));
    delete a;
    EXPECT_EQ(form.Probe, nullptr);
    EXPECT_TRUE(form.Components().empty());
}

TEST(ComponentReference, DeclaredAfterCreationFindsExistingComponent)
{
    TProbe owner;
    auto *child = new TProbe(&owner);
    child->SetName(QStringLiteral("Child"));
    TProbe *ref = nullptr;
    owner.DeclareReference(QStringLiteral("child"), ref);
    EXPECT_EQ(ref, child);
}
