#pragma once

#include "pages/CaptionTable.h"
#include "pages/PageTranslator.h"
#include "pages/ProfileRunner.h"

#include <QDialog>
#include <QString>

#include <vector>

class QLabel;
class QPushButton;
class QTableWidget;

namespace kestrava {

// "Apply Profile": what a profile would change on the receiver (setting, the receiver's value,
// the profile's value), one question — Apply — and then what became of every setting, read back
// from the receiver, in a table that Copy puts on the clipboard as the command line prints it.
// A value the receiver could not be sent stops everything before anything is sent.
class CDialogProfile : public QDialog {
    Q_OBJECT

public:
    enum class Stage { Planning, Planned, Refused, Applying, Applied };

    CDialogProfile(QString profilePath, ProfileRunner& runner, PageTranslator translate = {},
                   QWidget* parent = nullptr);

    // Reads the receiver and shows what differs; the dialog starts it when it is shown.
    void StartPlan();
    // Sends what differs (the Apply button).
    void StartApply();

    Stage CurrentStage() const { return m_stage; }
    // The words above the table.
    QString SummaryText() const;
    // What Copy puts on the clipboard: one "Section.Key: outcome" line per row shown.
    QString TableText() const;
    int RowCount() const;
    QString Cell(int row, int column) const;

    void ApplyProfileTexts();

signals:
    // The plan or the outcome arrived, with the stage it reached.
    void stageReached(Stage stage);

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void onPlanned(const ProfileRunner::Outcome& outcome);
    void onApplied(const ProfileRunner::Outcome& outcome);
    void fillTable();
    void showSummary();
    void enableButtons();
    QString words(const char* english) const;

    QString m_path;
    ProfileRunner& m_runner;
    PageTranslator m_translate;
    CaptionTable m_captions;
    QLabel* m_file = nullptr;
    QLabel* m_summary = nullptr;
    QTableWidget* m_table = nullptr;
    QPushButton* m_apply = nullptr;
    QPushButton* m_copy = nullptr;
    QPushButton* m_close = nullptr;
    Stage m_stage = Stage::Planning;
    bool m_started = false;
    ProfileRunner::Outcome m_outcome;
    std::vector<ProfileLine> m_shown;
};

} // namespace kestrava
