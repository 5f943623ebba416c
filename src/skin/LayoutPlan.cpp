#include "skin/LayoutPlan.h"

#include "skin/LayoutKeys.h"

namespace orb
{

namespace
{

QString copyName(const QString& name, int copy)
{
    return copy == 0 ? name : name + QString::number(copy);
}

struct Insets {
    int front = 0;
    int back = 0;
};

class Planner
{
  public:
    Planner(const LayoutText& s, const PictureSizeOf& sizeOf) : s_(s), sizeOf_(sizeOf) {}

    void row(const LayoutRow& r)
    {
        const int first = r.copies ? 1 : 0;
        const int last = r.copies ? 4 : 0;
        switch (r.kind) {
        case RowKind::At:
        case RowKind::Fixed: {
            bool shown = true;
            LayoutPoint p{r.fixedPos.x(), r.fixedPos.y()};
            if (r.kind == RowKind::At) {
                if (r.enable) {
                    const ButtonPlacement b = s_.button(r.keyPrefix);
                    shown = b.shown;
                    p = b.pos;
                } else {
                    p = s_.point(r.keyPrefix);
                }
            }
            std::optional<int> h;
            if (r.height && shown)
                h = s_.intValue(r.keyPrefix + QLatin1Char('H'));
            for (int c = first; c <= last; ++c) {
                const QString control = copyName(r.control, c);
                if (!shown) {
                    hide(control);
                    for (const Companion& m : r.companions)
                        hide(copyName(m.name, c));
                    continue;
                }
                Placement& pl = add(control, QPoint(p.x, p.y));
                if (r.enable || r.kind == RowKind::Fixed)
                    pl.visible = true;
                pl.height = h;
                companions(r, c, control, QPoint(p.x, p.y), r.enable || r.kind == RowKind::Fixed);
            }
            break;
        }
        case RowKind::Segments: {
            const LayoutPoint p = s_.point(r.keyPrefix);
            const int gap = s_.intValue(r.keyPrefix + QLatin1Char('D'));
            for (int c = first; c <= last; ++c) {
                for (int k = 1; k <= r.count; ++k) {
                    const QString control = copyName(r.control, c) + QString::number(k);
                    const QSize size = sizeOf_(control);
                    const int w = size.isValid() ? size.width() : 0;
                    const QPoint at(p.x + (k - 1) * (gap + w), p.y);
                    add(control, at);
                    for (const Companion& m : r.companions)
                        add(copyName(m.name, c) + QString::number(k), at + m.offset);
                }
            }
            break;
        }
        case RowKind::Column: {
            const LayoutPoint p = s_.point(r.keyPrefix);
            const int pitch = s_.intValue(r.keyPrefix + QLatin1Char('H'));
            for (int i = 0; i < r.items.size(); ++i) {
                const QPoint at(p.x, p.y + i * pitch);
                add(r.items[i], at);
                if (i < r.itemLabels.size())
                    add(r.itemLabels[i], at + r.labelOffset);
            }
            break;
        }
        case RowKind::Width:
        case RowKind::Left: {
            const int v = s_.intValue(r.keyPrefix);
            for (int c = first; c <= last; ++c) {
                auto set = [&](const QString& name, int delta) {
                    Placement pl;
                    pl.name = name;
                    (r.kind == RowKind::Width ? pl.width : pl.left) = v + delta;
                    out.append(pl);
                };
                set(copyName(r.control, c), 0);
                for (const Companion& m : r.companions)
                    set(copyName(m.name, c), m.offset.x());
            }
            break;
        }
        }
    }

    QList<Placement> out;

  private:
    Placement& add(const QString& name, const QPoint& pos)
    {
        Placement pl;
        pl.name = name;
        pl.pos = pos;
        out.append(pl);
        return out.last();
    }

    void hide(const QString& name)
    {
        Placement pl;
        pl.name = name;
        pl.visible = false;
        out.append(pl);
    }

    void companions(const LayoutRow& r, int c, const QString& control, const QPoint& at, bool show)
    {
        for (const Companion& m : r.companions) {
            QPoint pos = at + m.offset;
            std::optional<QSize> size;
            const QSize picture = sizeOf_(control);
            if (m.size != SizeFrom::Own && picture.isValid()) {
                size = picture;
                if (m.size == SizeFrom::PictureLessInsets) {
                    const Insets in = insets();
                    pos.rx() += in.front;
                    size->setWidth(std::max(0, picture.width() - in.front - in.back));
                }
            }
            Placement& pl = add(copyName(m.name, c), pos);
            pl.size = size;
            if (show)
                pl.visible = true;
        }
    }

    Insets insets()
    {
        if (!insets_)
            insets_ = Insets{s_.intValue(QStringLiteral("Btn_Space_F")),
                             s_.intValue(QStringLiteral("Btn_Space_B"))};
        return *insets_;
    }

    const LayoutText& s_;
    const PictureSizeOf& sizeOf_;
    std::optional<Insets> insets_;
};

LayoutRow buttonRow(const QString& group, const LayoutButtonKeys& k, SizeFrom labelSize)
{
    LayoutRow r;
    r.group = group;
    r.keyPrefix = k.keyPrefix;
    r.control = QStringLiteral("Img_%1_").arg(k.name);
    r.companions = {{QStringLiteral("Btn_%1_").arg(k.name), {}, labelSize}};
    r.enable = true;
    r.copies = true;
    return r;
}

LayoutRow pointRow(const QString& group, const QString& prefix, const QString& control)
{
    LayoutRow r;
    r.group = group;
    r.keyPrefix = prefix;
    r.control = control;
    return r;
}

QList<LayoutRow> buildLanguageRows()
{
    QList<LayoutRow> rows;
    const QString a = QStringLiteral("A"), b = QStringLiteral("B"), c = QStringLiteral("C");
    for (const LayoutButtonKeys& k : ActionButtonKeys())
        rows << buttonRow(a, k, SizeFrom::Picture);
    for (const LayoutButtonKeys& k : PageButtonKeys()) {
        rows << buttonRow(b, k, SizeFrom::PictureLessInsets);
        if (k.name == QLatin1String("Macro")) {
            // The engineer buttons have no keys: always shown, placed like the page buttons.
            LayoutRow e = buttonRow(b, {QString(), QStringLiteral("Engineer")}, SizeFrom::PictureLessInsets);
            e.kind = RowKind::Fixed;
            e.enable = false;
            e.fixedPos = QPoint(10, 10);
            rows << e;
        }
    }

    rows << pointRow(c, QStringLiteral("P1_"), QStringLiteral("Img_P1"));
    for (int n = 1; n <= 9; ++n) {
        LayoutRow r = pointRow(c, QStringLiteral("Key%1_").arg(n), QStringLiteral("Img_Key%1").arg(n));
        r.enable = true;
        r.companions = {{QStringLiteral("Key%1").arg(n), {}, SizeFrom::Picture}};
        rows << r;
    }
    for (int n = 1; n <= 2; ++n) {
        LayoutRow r =
            pointRow(c, QStringLiteral("ComboKey%1_").arg(n), QStringLiteral("Img_ComboKey%1").arg(n));
        r.enable = true;
        r.companions = {{QStringLiteral("IB_ComboKey%1").arg(n), {0, -2}, SizeFrom::Own}};
        rows << r;
    }

    // Groups G, D, E and F: only the page overlays so far; the controls of
    // those pages bring their own rows.
    rows << pointRow(QStringLiteral("D"), QStringLiteral("P2_"), QStringLiteral("Img_P2"));
    rows << pointRow(QStringLiteral("E"), QStringLiteral("P3_"), QStringLiteral("Img_P3"));
    rows << pointRow(QStringLiteral("F"), QStringLiteral("P4_"), QStringLiteral("Img_P4"));
    return rows;
}

QStringList copiesOf(std::initializer_list<const char*> names)
{
    QStringList out;
    for (const char* n : names)
        out << QLatin1String(n);
    return out;
}

} // namespace

QList<Placement> PlanLayout(const LayoutText& section, const QList<LayoutRow>& rows,
                            const PictureSizeOf& sizeOf)
{
    Planner p(section, sizeOf);
    for (const LayoutRow& r : rows)
        p.row(r);
    return p.out;
}

QList<StylePlacement> PlanStyles(const LayoutText& section, const QList<StyleRow>& rows)
{
    QList<StylePlacement> out;
    for (const StyleRow& r : rows) {
        std::optional<int> size;
        std::optional<Rgb> colour;
        if (!r.sizeKey.isEmpty())
            size = section.intValue(r.sizeKey) + r.sizeDelta;
        if (!r.colourKey.isEmpty())
            colour = section.colour(r.colourKey);
        for (const QString& name : r.controls)
            for (int c = r.copies ? 1 : 0; c <= (r.copies ? 4 : 0); ++c)
                out.append({copyName(name, c), r.role, size, colour});
    }
    return out;
}

const QList<LayoutRow>& LanguageLayoutRows()
{
    static const QList<LayoutRow> rows = buildLanguageRows();
    return rows;
}

const QList<StyleRow>& LanguageStyleRows()
{
    static const QList<StyleRow> rows = [] {
        QList<StyleRow> r;
        r.append({QStringLiteral("A"), QStringLiteral("Size_A"), 0, QStringLiteral("Color_A_"),
                  StyleRole::Text,
                  copiesOf({"Btn_Confirm_", "Btn_Apply_", "Btn_Read_", "Btn_Confirm1_", "Btn_Confirm2_",
                            "Btn_Confirm3_"}),
                  true});
        r.append(
            {QStringLiteral("B"), QStringLiteral("Size_B"), 0, QStringLiteral("Color_B_"), StyleRole::Text,
             copiesOf({"Btn_Main_", "Btn_Second_", "Btn_Adv_", "Btn_Breath_", "Btn_Macro_", "Btn_Engineer_",
                       "Btn_Save_", "Btn_Load_", "Btn_Lang1_", "Btn_Lang2_", "Btn_Lang3_"}),
             true});
        QStringList keys;
        for (int n = 1; n <= 9; ++n)
            keys << QStringLiteral("Key%1").arg(n);
        r.append({QStringLiteral("C"), QStringLiteral("Size_C"), 0, QStringLiteral("Color_C_"),
                  StyleRole::Text, keys, false});
        r.append({QStringLiteral("C"), QStringLiteral("Size_C"), -1, QStringLiteral("Color_C_"),
                  StyleRole::Text, copiesOf({"IB_ComboKey1", "IB_ComboKey2"}), false});
        return r;
    }();
    return rows;
}

const QList<LayoutRow>& OrgLayoutRows()
{
    static const QList<LayoutRow> rows = [] {
        LayoutRow r;
        r.group = QStringLiteral("org");
        r.keyPrefix = QStringLiteral("Web_");
        r.control = QStringLiteral("Img_Web_");
        r.companions = {{QStringLiteral("Btn_Web_"), {}, SizeFrom::Picture}};
        r.copies = true;
        return QList<LayoutRow>{r};
    }();
    return rows;
}

} // namespace orb
