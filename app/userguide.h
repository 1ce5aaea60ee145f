#ifndef USERGUIDE_H
#define USERGUIDE_H

#include <QString>
#include <QStringList>
#include <QWidget>

class QLabel;
class QLineEdit;
class QTextBrowser;

// The user guide in a window of its own: the Markdown guide of the interface
// language shown with its pictures, and a search box. The guide is taken
// from where it is installed beside the program
// (<prefix>/bin/kora -> <prefix>/share/doc/kora/guide.md), else from the
// source tree's docs/ when KORA runs from its build tree.
class UserGuide : public QWidget
{
    Q_OBJECT

public:
    // File name of the guide in a language: "guide.md", "guide.zh_CN.md".
    static QString fileName(bool chinese);
    // Folders searched, in order, for a program in executableDir.
    static QStringList searchDirs(const QString &executableDir);
    // The guide to show: the language's own, else the English one; empty
    // when neither is in any folder.
    static QString find(bool chinese, const QStringList &dirs);

    // Help > User guide: shows the guide window (one for the program, raised
    // when already open) in the interface language, or tells parent where
    // the guide was looked for. Answers the window, or null.
    static UserGuide *showGuide(QWidget *parent);

    explicit UserGuide(QWidget *parent = nullptr);

    // Shows the guide file; false when it cannot be read.
    bool load(const QString &path);
    QString path() const { return m_path; }
    QTextBrowser *browser() const { return m_browser; }
    QLineEdit *searchBox() const { return m_search; }

public slots:
    // Finds the search box's text after the cursor, from the top again at
    // the end; false when the guide does not hold it.
    bool findNext();

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslate();
    // Pictures wider than the page are shown at the page's width.
    void fitPictures();

    QTextBrowser *m_browser = nullptr;
    QLineEdit *m_search = nullptr;
    QLabel *m_searchLabel = nullptr;
    QLabel *m_notFound = nullptr;
    QString m_path;
};

#endif // USERGUIDE_H
