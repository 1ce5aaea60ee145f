#ifndef QWORD_H
#define QWORD_H

#include <QImage>
#include <QObject>
#include <QRectF>
#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>
#include <memory>

class QTemporaryDir;
class QTextDocument;
class QTextTable;

// A word-processor document built the way a user of a word processor builds
// one: through a selection that moves, types paragraphs and breaks, adds
// tables and fills their cells with text and pictures. The document is held
// in Qt's rich-text model and laid out in pages, so the selection's page is
// known at any time. closeDocument() saves it under its file name:
//  - ".odt": written directly as OpenDocument text;
//  - ".docx": converted from OpenDocument by LibreOffice Writer run headless;
//  - ".doc" or any other name: likewise, as a Word 97-2003 document.
// The file appears under its name only once it is complete.
//
// Lengths of the page set-up are in points. An object is used on one thread.
class QWord : public QObject
{
    Q_OBJECT

public:
    explicit QWord(QObject *parent = nullptr);
    ~QWord() override;

    // Starts a new, empty document to be saved as fileName. Fails (and adds
    // to errorText()) when the file exists (unless replacing was allowed),
    // the name is empty, or a word processor is needed for the format and
    // none is installed.
    bool openDocument(const QString &fileName);
    // 0 portrait, 1 landscape.
    void setOrientation(int orientation);
    void setPageMargins(double top, double bottom, double left, double right);
    // 0 to 8: normal, outline, print, print preview, master, web, reading,
    // conflict view. Kept with the document; it does not change its pages.
    void setLayoutMode(int mode);
    void setViewType(int type);
    void moveToStart();
    void moveToEnd();
    // 0 left, 1 centre, 2 right, 3 justified.
    void setAlignment(int alignment);
    void setFontName(const QString &name);
    void setFontSize(double size);
    // The printable rectangle of the page, in points.
    bool getPageRect(QRectF &rect) const;
    // A table at the selection, with thin borders, as wide as the page; it
    // becomes the current table and the selection moves into its first cell.
    bool addTable(int rows, int columns);
    void clearTableBorders();
    void setCellPadding(double left, double top, double right, double bottom);
    void setTableSpacing(double spacing);
    void selectTable();
    // Lines at least value points high.
    void setLineSpacing(double value);
    // Cells count from 1.
    void setCellText(int row, int column, const QString &text);
    // The picture is taken into the document: the file may change or go
    // afterwards.
    void addCellPicture(int row, int column, const QString &file);
    void typeParagraph();
    void typeBackspace();
    // 7 page break, 6 line break.
    void insertBreak(int type);
    // Page of the end of the selection, from 1; -1 without a document.
    int currentPageNumber() const;
    // Saves the document under fileName() (when one is given and save is
    // set) and closes it. False, with errorText() saying why, when it could
    // not be saved.
    bool closeDocument(bool save = true);

    QString fileName() const { return m_strFileName; }
    QString errorText() const { return m_strErrorText; }
    // True when a word processor is attached (the format needs converting).
    bool isWord() const { return m_bIsWord; }
    // Lets openDocument() take the name of an existing file, which the saved
    // document then replaces (only once it is complete).
    void setReplaceExisting(bool replace) { m_bReplaceExisting = replace; }

    // The open document (none before openDocument and after closeDocument).
    QTextDocument *document() const { return m_pDocument.get(); }
    QTextTable *currentTable() const { return m_pTable; }
    int pageCount() const;

    // The word processor: LibreOffice's "soffice"; empty when none is found.
    static QString officeProgram();
    // Uses this program instead of looking for one ("" looks again); a path
    // that is not an executable file means none is installed.
    static void setOfficeProgram(const QString &path);
    // Longest time a conversion may take, milliseconds.
    static void setConversionTimeout(int ms);
    static int conversionTimeout();

public slots:
    void OnException(int code, QString source, QString desc, QString help);

private:
    void addError(const QString &text);
    void applyPageSetup();
    // The cursors that the selection's formatting applies to: every cell of
    // the current table after selectTable(), else the selection itself.
    QList<QTextCursor> selectedRanges() const;
    // A character format merged into the selected ranges and, outside a
    // table selection, into the text typed next.
    void mergeIntoSelection(const QTextCharFormat &format);
    QTextCursor cellCursor(int row, int column) const;
    QByteArray stylesXml() const;
    bool save();
    bool convert(const QString &odt, const QString &format, QString *result);
    bool putInPlace(const QString &source);

    std::unique_ptr<QTextDocument> m_pDocument;
    QTextCursor m_selection;
    QTextTable *m_pTable = nullptr;
    bool m_bTableSelected = false;
    QString m_strUnused;
    QString m_strFileName;
    QString m_strErrorText;
    bool m_bIsWord = false;
    bool m_bReplaceExisting = false;
    QString m_strOffice;

    int m_nOrientation = 0;
    double m_dTopMargin = 72.0;
    double m_dBottomMargin = 72.0;
    double m_dLeftMargin = 90.0;
    double m_dRightMargin = 90.0;
    int m_nLayoutMode = 0;
    int m_nViewType = 3;
    QString m_strFontName;
    double m_dFontSize = 10.5;
    int m_nPictureCount = 0;
    // The layout measures in pixels of 96 per inch, as the writer reads them.
    QImage m_device;
    // Character format the selection types with (set while it is collapsed).
    QTextCharFormat m_typingFormat;
    QString m_strBaseFontName;
    double m_dBaseFontSize = 0.0;
};

#endif // QWORD_H
