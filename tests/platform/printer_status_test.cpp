// The texts the print dialog shows for what a queue reports.

#include "platform/printer_status.h"

#include <gtest/gtest.h>

using namespace platform;

namespace
{
PrinterStatus Answered(QueueState state, const QStringList &reasons)
{
    PrinterStatus s;
    s.answered = true;
    s.state = state;
    s.reasons = reasons;
    return s;
}
} // namespace

TEST(PrinterStatus, AReadyPrinterAndUnknownReasonsGiveNoQuestion)
{
    EXPECT_TRUE(StatusQuestionText(Answered(QueueState::Idle, {QStringLiteral("none")})).isEmpty());
    EXPECT_TRUE(StatusQuestionText(Answered(QueueState::Idle, {})).isEmpty());
    // Reasons that say nothing about the paper, the ink or the device.
    EXPECT_TRUE(StatusQuestionText(Answered(QueueState::Idle, {QStringLiteral("cups-insecure-filter-warning"),
                                                               QStringLiteral("other"),
                                                               QStringLiteral("com.example.fancy-report")}))
                    .isEmpty());
}

TEST(PrinterStatus, AQueueThatCannotBeAskedIsNotAvailable)
{
    PrinterStatus s;
    s.reasons = {QStringLiteral("media-jam")}; // whatever was known before does not count
    EXPECT_EQ(StatusQuestionText(s), QStringLiteral("Drucker nicht verfügbar!"));
}

TEST(PrinterStatus, StatesAndReasonsMapOntoTheStatusTexts)
{
    struct Case {
        QueueState state;
        QStringList reasons;
        QString text;
    };
    const Case cases[] = {
        {QueueState::Stopped,
         {QStringLiteral("paused")},
         QStringLiteral(" Drucker befindet sich im Pause-Zustand.")},
        {QueueState::Stopped, {}, QStringLiteral(" Drucker befindet sich im Pause-Zustand.")},
        {QueueState::Idle, {QStringLiteral("media-jam-error")}, QStringLiteral(" Papierstau!")},
        {QueueState::Idle,
         {QStringLiteral("media-empty-error")},
         QStringLiteral(" Kein Papier mehr vorhanden!")},
        {QueueState::Idle, {QStringLiteral("media-needed")}, QStringLiteral(" Kein Papier mehr vorhanden!")},
        {QueueState::Idle,
         {QStringLiteral("input-tray-missing-warning")},
         QStringLiteral(" Der Einzug weist einen Fehler auf!")},
        {QueueState::Idle,
         {QStringLiteral("offline-report")},
         QStringLiteral(" Drucker ist offline (ausgeschaltet!)")},
        {QueueState::Processing, {QStringLiteral("none")}, QStringLiteral(" Druckvorgang läuft.")},
        {QueueState::Idle, {QStringLiteral("timed-out")}, QStringLiteral(" Keine Antwort vom Drucker-Port!")},
        {QueueState::Idle,
         {QStringLiteral("marker-supply-low-report")},
         QStringLiteral(" Patronenstand ist niedrig!")},
        {QueueState::Idle,
         {QStringLiteral("toner-low-warning")},
         QStringLiteral(" Patronenstand ist niedrig!")},
        {QueueState::Idle,
         {QStringLiteral("marker-supply-empty-error")},
         QStringLiteral(" Keine Tinte mehr vorhanden!")},
        {QueueState::Idle, {QStringLiteral("toner-empty")}, QStringLiteral(" Keine Tinte mehr vorhanden!")},
        {QueueState::Idle,
         {QStringLiteral("door-open-error")},
         QStringLiteral(" Druckerschacht ist noch offen!")},
        {QueueState::Idle, {QStringLiteral("cover-open")}, QStringLiteral(" Druckerschacht ist noch offen!")},
        {QueueState::Idle,
         {QStringLiteral("spool-area-full")},
         QStringLiteral(" Nicht genügend Speicherkapazität!")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.reasons.join(QLatin1Char(',')).toStdString());
        EXPECT_EQ(StatusQuestionText(Answered(c.state, c.reasons)), c.text);
    }
}

TEST(PrinterStatus, SeveralFindingsAreAllNamedInTheOrderOfTheTable)
{
    // A jammed printer without paper and with its door open, reported in a
    // different order: every text once, in the table's order.
    const PrinterStatus s =
        Answered(QueueState::Stopped, {QStringLiteral("door-open-error"),
                                       QStringLiteral("media-empty-warning"), QStringLiteral("paused"),
                                       QStringLiteral("media-jam-error"), QStringLiteral("media-needed")});
    const QStringList expected = {
        QStringLiteral(" Drucker befindet sich im Pause-Zustand."), QStringLiteral(" Papierstau!"),
        QStringLiteral(" Kein Papier mehr vorhanden!"), QStringLiteral(" Druckerschacht ist noch offen!")};
    EXPECT_EQ(StatusTexts(s), expected);
    EXPECT_EQ(StatusQuestionText(s), expected.join(QString()));
}

TEST(PrinterStatus, AnUnreachableDeviceIsOfflineOnce)
{
    PrinterStatus s = Answered(QueueState::Processing, {QStringLiteral("offline-report")});
    s.deviceUnreachable = true;
    EXPECT_EQ(StatusTexts(s), (QStringList{QStringLiteral(" Drucker ist offline (ausgeschaltet!)"),
                                           QStringLiteral(" Druckvorgang läuft.")}));
}

TEST(PrinterStatus, SeveritySuffixesAreIgnored)
{
    EXPECT_EQ(BareReason(QStringLiteral("media-jam-error")), QStringLiteral("media-jam"));
    EXPECT_EQ(BareReason(QStringLiteral("toner-low-warning")), QStringLiteral("toner-low"));
    EXPECT_EQ(BareReason(QStringLiteral("offline-report")), QStringLiteral("offline"));
    EXPECT_EQ(BareReason(QStringLiteral("paused")), QStringLiteral("paused"));
    // A keyword that is nothing but a suffix stays as it is.
    EXPECT_EQ(BareReason(QStringLiteral("-error")), QStringLiteral("-error"));
    // Keywords come in any case from some drivers.
    EXPECT_EQ(StatusQuestionText(Answered(QueueState::Idle, {QStringLiteral("Media-Jam-Error")})),
              QStringLiteral(" Papierstau!"));
}
