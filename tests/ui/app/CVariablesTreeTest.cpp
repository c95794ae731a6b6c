#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

#include <filesystem>

#include "UiTestRegistry.h"
#include "app/CDesktop.h"
#include "util/FileBytes.h"
#include "views/CVariablesModel.h"
#include "views/CVariablesTree.h"

using tessaly::ui::CVariablesModel;
using tessaly::ui::CVariablesTree;
using tessaly::ui::test::CDesktop;
using tessaly::ui::test::Marked;
using tessaly::ui::test::Rows;

namespace {

// examples/c-structs: main's `struct shape box` lives at 0Bh in internal RAM
// (tag, then corners[2] of struct point {int x, y}); `head` points into
// `list`, four struct node {value, next} in external RAM from 0001h.
const std::filesystem::path kStructs = std::filesystem::path(TESSALY_SOURCE_DIR) / "examples/c-structs";

struct StructsDesktop : CDesktop {
    StructsDesktop() : CDesktop(kStructs, "c-structs") {}

    // Run to Cursor from a click on the line in the Source window.
    void RunToLine(int line) {
        tessaly::ui::SourceText& text = Source()->Text();
        text.ShowLine(line);
        QTest::mouseClick(text.viewport(), Qt::LeftButton, {}, QPoint(40, text.MarginRect(line).center().y()));
        Trigger("muiRunToCursor");
    }
};

// The row reached by names from the top ({"box", "corners", "[1]"}).
QModelIndex At(const QAbstractItemModel& model, const QStringList& names) {
    QModelIndex at;
    for (const QString& name : names) {
        const QModelIndex parent = at;
        at = {};
        for (int r = 0; r < model.rowCount(parent); ++r) {
            if (model.index(r, 0, parent).data().toString() == name) at = model.index(r, 0, parent);
        }
        if (!at.isValid()) return {};
    }
    return at;
}

// Opens a row as the keyboard does: selected, then the Right key.
void Open(QTreeView& tree, const QModelIndex& row) {
    tree.setCurrentIndex(row);
    QTest::keyClick(&tree, Qt::Key_Right);
}

}  // namespace

class CVariablesTreeTest : public QObject {
    Q_OBJECT
private slots:
    // A struct local opens into its members, an array member into its
    // elements, and so on down; a step keeps what is open and marks the
    // member it changed and the values holding it; after a call the rows
    // come back open as they were left.
    void aStructLocalOpensAndStaysOpenFromStepToStep() {
        StructsDesktop d;
        d.RunToLine(54);
        QCOMPARE(d.Source()->CurrentLine(), 54);
        CVariablesTree& tree = d.Locals()->Tree();
        const CVariablesModel& model = d.Locals()->Model();
        QCOMPARE(Rows(model),
                 QStringList({"box,struct shape,{tag = 66 'B', corners = {{x = 1, y = 2}, {x = 30, y = 40}}}",
                              "i,unsigned char,4"}));
        const QModelIndex box = model.index(0, 0);
        QVERIFY(model.hasChildren(box));
        QVERIFY(!model.hasChildren(model.index(1, 0)));
        QCOMPARE(model.rowCount(box), 0);  // listed when first opened

        Open(tree, box);
        QVERIFY(tree.isExpanded(box));
        QCOMPARE(Rows(model, box), QStringList({"tag,unsigned char,66 'B'",
                                                "corners,struct point[2],{{x = 1, y = 2}, {x = 30, y = 40}}"}));
        Open(tree, At(model, {"box", "corners"}));
        QCOMPARE(Rows(model, At(model, {"box", "corners"})),
                 QStringList({"[0],struct point,{x = 1, y = 2}", "[1],struct point,{x = 30, y = 40}"}));
        Open(tree, At(model, {"box", "corners", "[1]"}));
        QCOMPARE(Rows(model, At(model, {"box", "corners", "[1]"})), QStringList({"x,int,30", "y,int,40"}));
        QCOMPARE(model.PathOf(At(model, {"box", "corners", "[1]", "x"})), std::string("box.corners[1].x"));

        // corners[1].x = corners[0].x + corners[1].y
        QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
        QSignalSpy repaints(&model, &QAbstractItemModel::dataChanged);
        d.Trigger("muiStepOver");
        // Only the value cells that changed are repainted, each on its own.
        QCOMPARE(resets.count(), 0);
        QStringList repainted;
        for (const QList<QVariant>& signal : repaints) {
            const QModelIndex cell = signal.at(0).toModelIndex();
            QCOMPARE(signal.at(1).toModelIndex(), cell);
            QCOMPARE(cell.column(), 2);
            repainted << cell.siblingAtColumn(0).data().toString();
        }
        QCOMPARE(repainted, QStringList({"box", "corners", "[1]", "x", "i"}));
        QCOMPARE(d.Source()->CurrentLine(), 55);
        const QModelIndex second = At(model, {"box", "corners", "[1]"});
        QVERIFY(tree.isExpanded(second));
        QCOMPARE(Rows(model, second), QStringList({"x,int,41", "y,int,40"}));
        QCOMPARE(Marked(model, second), QStringList({"x"}));
        QCOMPARE(Marked(model, At(model, {"box", "corners"})), QStringList({"[1]"}));
        QCOMPARE(Marked(model, At(model, {"box"})), QStringList({"corners"}));
        // i is done with: its r7 served the sum.
        QCOMPARE(Rows(model).constLast(), QString("i,unsigned char,0"));
        QCOMPARE(Marked(model), QStringList({"box", "i"}));

        // Into sum, whose variables SDCC keeps in registers only, and back:
        // main's rows are listed anew, open where they were.
        d.Trigger("muiStepInto");
        QCOMPARE(d.Locals()->Heading(), QString("sum: no parameters or locals recorded"));
        QCOMPARE(model.rowCount(), 0);
        d.Trigger("muiStepOut");
        QCOMPARE(d.Locals()->Heading(), QString("main"));
        for (const QStringList& path : {QStringList{"box"}, {"box", "corners"}, {"box", "corners", "[1]"}}) {
            QVERIFY2(tree.isExpanded(At(model, path)), qPrintable(path.join('/')));
        }
        QVERIFY(!tree.isExpanded(At(model, {"box", "corners", "[0]"})));
        // sum's 5 + 15 + 25 + 35
        QCOMPARE(Rows(model, At(model, {"box"})).constFirst(), QString("tag,unsigned char,80 'P'"));
        QCOMPARE(d.Messages(), QStringList());
    }

    // A member typed over goes through the session into the machine's
    // memory; a value its type cannot hold says why and changes nothing.
    void aMemberIsTypedOverInPlace() {
        StructsDesktop d;
        d.RunToLine(54);
        CVariablesTree& tree = d.Locals()->Tree();
        const CVariablesModel& model = d.Locals()->Model();
        Open(tree, At(model, {"box"}));
        Open(tree, At(model, {"box", "corners"}));
        Open(tree, At(model, {"box", "corners", "[0]"}));
        const auto typeOver = [&](const QString& value) {
            const QModelIndex cell = At(model, {"box", "corners", "[0]", "y"}).siblingAtColumn(2);
            const QPoint centre = tree.visualRect(cell).center();
            QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, centre);
            QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, centre);
            auto* editor = qobject_cast<QLineEdit*>(tree.indexWidget(cell));
            QVERIFY(editor);
            editor->selectAll();
            QTest::keyClicks(editor, value);
            QTest::keyClick(editor, Qt::Key_Return);
            QApplication::processEvents();  // the tree commits the edit from its queue
        };
        typeOver("-300");
        // box at 0Bh: tag, corners[0].x at 0Ch-0Dh, corners[0].y at 0Eh-0Fh.
        QCOMPARE(d.Machine().ReadDirect(0x0E), 0xD4);
        QCOMPARE(d.Machine().ReadDirect(0x0F), 0xFE);
        const QModelIndex first = At(model, {"box", "corners", "[0]"});
        QCOMPARE(Rows(model, first), QStringList({"x,int,1", "y,int,-300"}));
        QCOMPARE(Marked(model, first), QStringList({"y"}));
        QCOMPARE(Rows(model, At(model, {"box", "corners"})).constFirst(),
                 QString("[0],struct point,{x = 1, y = -300}"));

        typeOver("40000");
        QCOMPARE(d.Messages(), QStringList({"40000 is out of range for int (-32768 to 32767)"}));
        QCOMPARE(d.Machine().ReadDirect(0x0E), 0xD4);
        QCOMPARE(Rows(model, first), QStringList({"x,int,1", "y,int,-300"}));
    }

    // The C watches take expressions as well as names: each shows its type
    // and value, opens like a local, and is kept as typed. Text that is no
    // expression is refused with the reason; one that cannot be followed yet
    // is kept and says why.
    void expressionsAreWatchedAndOpenLikeLocals() {
        StructsDesktop d;
        tessaly::ui::CWatchPanel* watches = d.CWatches();
        QVERIFY(watches);
        const CVariablesModel& model = watches->Model();
        const auto add = [&](const QString& text) {
            watches->NameEdit().setText(text);
            QTest::keyClick(&watches->NameEdit(), Qt::Key_Return);
        };
        add("head->next->value");
        add("list[2");
        add("2nd.value");
        QCOMPARE(d.Messages(), QStringList({"Missing ']' in 'list[2'", "'2nd' is not a C name"}));
        QCOMPARE(watches->NameEdit().text(), QString("2nd.value"));  // kept to be mended
        QCOMPARE(Rows(model), QStringList({"head->next->value,,The pointer is null"}));

        d.RunToLine(54);
        add("list[2].value");
        add(" *head ");
        QCOMPARE(Rows(model), QStringList({"head->next->value,unsigned char,15", "list[2].value,unsigned char,25",
                                           "*head,struct node,{value = 5, next = X:0x0005}"}));
        Open(watches->Tree(), model.index(2, 0));
        QCOMPARE(Rows(model, model.index(2, 0)), QStringList({"value,unsigned char,5", "next,struct node *,X:0x0005"}));
        QCOMPARE(model.PathOf(model.index(1, 0, model.index(2, 0))), std::string("(*head).next"));
        QCOMPARE(tessaly::ReadWholeFile(d.dir.Path() / "cwatches.sud"),
                 std::optional<std::string>("head->next->value\r\nlist[2].value\r\n*head\r\n"));
        QCOMPARE(d.Messages().size(), 2);
    }
};

TESSALY_UI_TEST(CVariablesTreeTest)
#include "CVariablesTreeTest.moc"
