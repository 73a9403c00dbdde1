#pragma once
// The chapter list "目录": the titles indented by level, the current chapter selected, a field
// that filters the list as the reader types, and the document's own chapter pattern. Enter or a
// double click chooses a chapter.
#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

struct ChapterRow {
    std::string Title; // UTF-8
    int Level = 2;     // 1: a volume
};

class TFormChapters : public QDialog {
    Q_OBJECT

public:
    explicit TFormChapters(QWidget* parent = nullptr);

    // The rows and the row selected (-1: none).
    void SetChapters(const std::vector<ChapterRow>& rows, int current);
    // The chapter chosen when the dialog was accepted; -1 when none was.
    int Chosen() const;
    // Applies a pattern typed in the field (UTF-8; empty: the built-in rules). It gives the
    // rows found, or a message to show when the pattern cannot be used.
    struct PatternResult {
        bool Valid = true;
        std::vector<ChapterRow> Rows;
    };
    std::function<PatternResult(const std::string& pattern)> ApplyPattern;
    void SetPattern(const std::string& utf8);

    QLineEdit* const EditFilter;
    QListWidget* const ListChapters;
    QLineEdit* const EditPattern;
    QPushButton* const BtnPattern;
    QLabel* const LabelPatternError;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void FilterChanged(const QString& text);
    void BtnPatternClick();
    void ItemChosen(QListWidgetItem* item);
    void SelectVisible(int step);
};

// Shown when the user's chapter pattern is no regular expression.
inline constexpr char BadChapterPatternText[] = "目录规则不是有效的正则表达式，目录未改变。";
