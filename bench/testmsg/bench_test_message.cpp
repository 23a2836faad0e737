// Times buildTestMessage's scan of the composer run by run against the scan that selects one
// character at a time, at 1,000 and 10,000 characters in many runs of format, and the whole
// keystroke path of the window at 10,000 characters. Run on the offscreen platform:
//   QT_QPA_PLATFORM=offscreen build/bench/bench_test_message
// BENCH_KEYS_ONLY=1 times the keystroke path alone (for a profiler). --table prints only
// buildTestMessage at both sizes, beside the per-character scan, as rows for scripts/bench.
#include "MainController.h"
#include "TestMessageDialog.h"
#include "TestMessageEditor.h"
#include "TestMessageMarkup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <tuple>
#include <vector>

using namespace tavrin::editors;
using namespace tavrin::protocol;

namespace {

constexpr qint64 kBudgetNs = 1'500'000'000; // per measurement
constexpr int kMaxRepeats = 2000;
constexpr int kKeystrokes = 200;

// The composer read as it once was, one selected character at a time: the baseline the run
// scan is timed against, written apart from it so that the two readings check each other.
QString scanPerCharacter(const QTextDocument &document, const PreviewColors &colors)
{
    const auto fontLook = [](const QTextCharFormat &f) { // face, size, bold, effect
        return std::tuple(f.fontFamilies().toStringList().value(0), qRound(f.fontPointSize()),
                          f.fontWeight() > QFont::Medium, f.fontUnderline());
    };
    QString body;
    std::optional<decltype(fontLook({}))> font; // of the last character that was not a space
    QRgb color = 0; // black
    QTextCursor cursor(const_cast<QTextDocument *>(&document)); // reads only
    const int length = document.characterCount() - 1; // without the closing paragraph mark
    for (int p = 0; p < length; ++p) {
        cursor.setPosition(p);
        cursor.setPosition(p + 1, QTextCursor::KeepAnchor);
        QString text = cursor.selectedText();
        QTextCharFormat format = cursor.charFormat();
        if (text == QChar::ParagraphSeparator) // a selection up to a block start reports the
            format = document.findBlock(p + 1).charFormat(); // next block's first character
        if (text == QChar::ParagraphSeparator || text == QChar::LineSeparator)
            text = QStringLiteral("\r\n");
        if (text == u" ") {
            body += text;
            continue;
        }
        if (font != fontLook(format)) {
            font = fontLook(format);
            if (const auto index = std::apply(fontDecision, *font))
                body += fontCode(*index);
        }
        const QBrush brush = format.foreground();
        const QRgb rgb = brush.style() == Qt::NoBrush ? 0 : brush.color().rgb() & 0x00FFFFFF;
        const auto known = std::find(colors.begin(), colors.end(), rgb);
        if (rgb != color && known != colors.end())
            body += colorCode(int(known - colors.begin()));
        color = rgb;
        body += text;
    }
    return body;
}

// Fills the document with characters in runs of 1 to 12 in random sign fonts and colours,
// spaces among them and a line break now and then; returns the number of runs.
int fillDocument(QTextDocument &document, int characters, quint32 seed)
{
    QRandomGenerator random(seed);
    const PreviewColors colors = standardPreviewColors();
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    int written = 0;
    int runs = 0;
    while (written < characters) {
        QTextCharFormat format = previewFontFormat(random.bounded(kPreviewFontCount));
        format.merge(previewColorFormat(colors[size_t(random.bounded(kPreviewColorCount))]));
        const int length = std::min(characters - written, 1 + int(random.bounded(12)));
        QString text;
        for (int i = 0; i < length; ++i)
            text += random.bounded(6) == 0 ? u' ' : QChar(u'a' + random.bounded(26));
        if (random.bounded(40) == 0 && written + length < characters) {
            text.back() = QChar::ParagraphSeparator;
        }
        cursor.insertText(text, format);
        written += length;
        ++runs;
    }
    cursor.endEditBlock();
    return runs;
}

struct Timing
{
    double medianUs = 0;
    double maxUs = 0;
    int repeats = 0;
};

Timing measure(const std::function<void()> &run)
{
    std::vector<qint64> samples;
    QElapsedTimer total;
    total.start();
    while (int(samples.size()) < kMaxRepeats
           && (total.nsecsElapsed() < kBudgetNs || samples.size() < 5)) {
        QElapsedTimer one;
        one.start();
        run();
        samples.push_back(one.nsecsElapsed());
    }
    std::sort(samples.begin(), samples.end());
    return { samples[samples.size() / 2] / 1000.0, samples.back() / 1000.0, int(samples.size()) };
}

bool compareScans(int characters)
{
    QTextDocument document;
    const int runs = fillDocument(document, characters, quint32(characters));
    const PreviewColors colors = standardPreviewColors();
    const QString byRuns = scanTestMessageBody(document, colors);
    if (byRuns != scanPerCharacter(document, colors)) {
        std::fprintf(stderr, "the two scans differ at %d characters\n", characters);
        return false;
    }
    const Timing fast = measure([&] { scanTestMessageBody(document, colors); });
    const Timing slow = measure([&] { scanPerCharacter(document, colors); });
    std::printf("%6d characters, %5d runs: by runs %9.1f us (%d runs)   per character %10.1f us "
                "(%d runs)   ratio %.0fx\n",
                characters, runs, fast.medianUs, fast.repeats, slow.medianUs, slow.repeats,
                slow.medianUs / fast.medianUs);
    return true;
}

// The whole build of the message command from the composer, as the window runs it on every
// edit, against the scan that selects one character at a time.
bool buildRow(int characters)
{
    tavrin::core::MainController main;
    TestMessageEditor editor(main);
    editor.open();
    // Selection-only, as while typing: a leading font or colour code then formats nothing,
    // so every run of format stays for the timed builds.
    editor.toggleSelectionOnly();
    const int runs = fillDocument(editor.document(), characters, quint32(characters));
    const QString command = editor.buildTestMessage();
    if (command.size() < characters) {
        std::fprintf(stderr, "buildTestMessage left out text at %d characters\n", characters);
        return false;
    }
    const PreviewColors colors = editor.state().previewColors;
    const Timing build = measure([&] { editor.buildTestMessage(); });
    const Timing perCharacter = measure([&] { scanPerCharacter(editor.document(), colors); });
    std::printf("ROW\tbuildTestMessage, %d characters in %d runs of format\t%.6g\tus\tthe "
                "per-character scan of the same text\t%.6g\n",
                characters, runs, build.medianUs, perCharacter.medianUs);
    return true;
}

// Types characters at the end of a composer holding characters in many runs, through the
// window: the control's own edit, the composer handler, the build and the window's refresh.
void keystrokePath(int characters)
{
    tavrin::core::MainController main;
    tavrin::ui::TestMessageDialog window(main);
    window.show();
    tavrin::editors::TestMessageEditor &editor = window.editor();
    editor.toggleSelectionOnly(); // selection-only: the runs stay as they are while typing
    fillDocument(editor.document(), characters, 7);
    auto *composer = window.findChild<QTextEdit *>(QStringLiteral("ColorTextBox"));
    composer->setFocus();
    composer->moveCursor(QTextCursor::End);
    QApplication::processEvents();

    std::vector<qint64> samples;
    for (int i = 0; i < kKeystrokes; ++i) {
        QElapsedTimer one;
        one.start();
        QTest::keyClick(composer, Qt::Key_A, Qt::NoModifier);
        QApplication::processEvents(); // whatever the edit left queued, painting included
        samples.push_back(one.nsecsElapsed());
    }
    std::sort(samples.begin(), samples.end());
    std::printf("keystroke at the end of %d characters (%d keystrokes): median %.2f ms, "
                "90th percentile %.2f ms, max %.2f ms\n",
                characters, kKeystrokes, samples[samples.size() / 2] / 1e6,
                samples[samples.size() * 9 / 10] / 1e6, samples.back() / 1e6);

    // The command box takes a long command once typing pauses.
    auto *test = window.findChild<QLineEdit *>(QStringLiteral("Test"));
    QString command = editor.state().test;
    const Timing shown = measure([&] {
        command[1] = command[1] == u'i' ? u'x' : u'i';
        test->setText(command);
        test->repaint();
    });
    std::printf("showing the %lld-character command in Test (once typing pauses %lld ms): "
                "median %.2f ms\n",
                qlonglong(command.size()),
                qlonglong(tavrin::ui::TestMessageDialog::kLongCommandPause.count()),
                shown.medianUs / 1000);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "--table") == 0)
        return buildRow(1000) && buildRow(10000) ? 0 : 1;
    bool same = true;
    if (qEnvironmentVariableIsEmpty("BENCH_KEYS_ONLY"))
        for (const int characters : { 1000, 10000 })
            same = compareScans(characters) && same;
    keystrokePath(10000);
    return same ? 0 : 1;
}
