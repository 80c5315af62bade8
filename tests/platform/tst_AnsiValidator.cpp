#include "platform/AnsiValidator.h"

#include <QLineEdit>
#include <QListView>
#include <QStandardItemModel>
#include <QTest>

using namespace Qt::StringLiterals;

class TestAnsiValidator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A name editor of an item view takes text of every language and turns
    // down only a CR, which would split the line.
    void itemEditorsRefuseOnlyALineBreak()
    {
        QStandardItemModel model;
        model.appendRow(new QStandardItem(u"Work"_s));
        QListView view;
        QStringList refused;
        view.setItemDelegate(new TAnsiItemDelegate(
            [&refused](const QStringList& found) { refused += found; }, &view));
        view.setModel(&model);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.edit(model.index(0, 0));
        auto* editor = view.findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->selectAll();
        for (const QChar c : u"\u00C9t\u00E9\u2192"_s)
            QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_A, QString(c), Qt::NoModifier);
        editor->insert(u"a\rb"_s);
        editor->insert(u" Łódź 東京 😀"_s);
        QCOMPARE(editor->text(), u"\u00C9t\u00E9\u2192 Łódź 東京 😀"_s);
        QCOMPARE(refused, QStringList({ u"\r"_s }));
    }
};

QTEST_MAIN(TestAnsiValidator)
#include "tst_AnsiValidator.moc"
