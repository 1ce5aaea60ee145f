#include "userguide.h"

#include "languagemanager.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QVBoxLayout>

namespace {

// Widest a picture of the guide is shown, in pixels.
constexpr int kPictureWidth = 760;

QPointer<UserGuide> s_window;

} // namespace

QString UserGuide::fileName(bool chinese)
{
    return chinese ? QStringLiteral("guide.zh_CN.md") : QStringLiteral("guide.md");
}

QStringList UserGuide::searchDirs(const QString &executableDir)
{
    QStringList dirs;
    dirs << QDir::cleanPath(executableDir + QStringLiteral("/../share/doc/kora"));
#ifdef KORA_SOURCE_DOCS_DIR
    dirs << QDir::cleanPath(QStringLiteral(KORA_SOURCE_DOCS_DIR));
#endif
    return dirs;
}

QString UserGuide::find(bool chinese, const QStringList &dirs)
{
    QStringList names{fileName(chinese)};
    if (chinese)
        names << fileName(false);
    for (const QString &name : qAsConst(names)) {
        for (const QString &dir : dirs) {
            const QFileInfo info(QDir(dir).filePath(name));
            if (info.isFile() && info.isReadable())
                return info.absoluteFilePath();
        }
    }
    return QString();
}

UserGuide *UserGuide::showGuide(QWidget *parent)
{
    const QStringList dirs = searchDirs(QCoreApplication::applicationDirPath());
    const QString path = find(LanguageManager::instance()->isChinese(), dirs);
    if (path.isEmpty()) {
        QMessageBox::warning(parent, tr("User guide"),
                             tr("The user guide is not installed. It is looked for in:\n%1")
                                 .arg(dirs.join(QLatin1Char('\n'))));
        return nullptr;
    }
    if (!s_window)
        s_window = new UserGuide(parent);
    if (!s_window->load(path)) {
        QMessageBox::warning(parent, tr("User guide"), tr("The user guide %1 cannot be read.").arg(path));
        return nullptr;
    }
    s_window->show();
    s_window->raise();
    s_window->activateWindow();
    return s_window;
}

UserGuide::UserGuide(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setAttribute(Qt::WA_DeleteOnClose);
    m_browser = new QTextBrowser(this);
    m_browser->setOpenExternalLinks(true);
    m_search = new QLineEdit(this);
    m_search->setClearButtonEnabled(true);
    m_searchLabel = new QLabel(this);
    m_searchLabel->setBuddy(m_search);
    m_notFound = new QLabel(this);
    connect(m_search, &QLineEdit::returnPressed, this, &UserGuide::findNext);
    connect(m_search, &QLineEdit::textChanged, this, [this] {
        // Typing searches from the top again.
        m_browser->moveCursor(QTextCursor::Start);
        if (!m_search->text().isEmpty())
            findNext();
        else
            m_notFound->clear();
    });

    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(m_searchLabel);
    searchRow->addWidget(m_search, 1);
    searchRow->addWidget(m_notFound);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(searchRow);
    layout->addWidget(m_browser, 1);
    resize(900, 700);
    retranslate();
}

bool UserGuide::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    m_path = QFileInfo(path).absoluteFilePath();
    // The pictures are found beside the guide.
    m_browser->setSource(QUrl::fromLocalFile(m_path), QTextDocument::MarkdownResource);
    fitPictures();
    return true;
}

void UserGuide::fitPictures()
{
    QTextDocument *document = m_browser->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat())
                continue;
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            const QImage picture =
                document->resource(QTextDocument::ImageResource, QUrl(format.name())).value<QImage>();
            if (picture.isNull() || picture.width() <= kPictureWidth)
                continue;
            format.setWidth(kPictureWidth);
            format.setHeight(double(picture.height()) * kPictureWidth / picture.width());
            QTextCursor cursor(document);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(format);
        }
    }
}

bool UserGuide::findNext()
{
    const QString text = m_search->text();
    if (text.isEmpty())
        return false;
    bool found = m_browser->find(text);
    if (!found) {
        m_browser->moveCursor(QTextCursor::Start);
        found = m_browser->find(text);
    }
    m_notFound->setText(found ? QString() : tr("Not found"));
    return found;
}

void UserGuide::retranslate()
{
    setWindowTitle(tr("User guide"));
    m_searchLabel->setText(tr("&Find:"));
    m_search->setPlaceholderText(tr("Search the guide"));
    m_notFound->clear();
}

void UserGuide::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
        // The guide of the new interface language.
        const QString path = find(LanguageManager::instance()->isChinese(),
                                  searchDirs(QCoreApplication::applicationDirPath()));
        if (!path.isEmpty() && path != m_path)
            load(path);
    }
    QWidget::changeEvent(event);
}
