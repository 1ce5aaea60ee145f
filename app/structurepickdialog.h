#ifndef STRUCTUREPICKDIALOG_H
#define STRUCTUREPICKDIALOG_H

#include <QDialog>
#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;

// Edits the type and the comment of one structure pick (double-click on the
// pick). The fitted values are shown for reference and cannot be changed here;
// the pick's points are dragged on the page for that.
class StructurePickDialog : public QDialog
{
    Q_OBJECT
public:
    StructurePickDialog(const QString &type, const QString &comment, const QString &values,
                        QWidget *parent = nullptr);

    // The chosen type, one of StructurePick::types().
    QString type() const;
    QString comment() const;

    QComboBox *typeBox() const { return m_type; }
    QLineEdit *commentEdit() const { return m_comment; }

private:
    QComboBox *m_type = nullptr;
    QLineEdit *m_comment = nullptr;
};

#endif // STRUCTUREPICKDIALOG_H
