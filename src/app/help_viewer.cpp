#include "app/help_viewer.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QImage>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace qz {
namespace {

// A help browser whose pictures are never wider than its page: a picture wider than the
// window is scaled down to fit, and the page is laid out again when the window is resized.
class FittingBrowser : public QTextBrowser {
  public:
    explicit FittingBrowser(QWidget* parent) : QTextBrowser(parent) {
        relayout_.setSingleShot(true);
        relayout_.setInterval(150);
        connect(&relayout_, &QTimer::timeout, this, [this] {
            const int scrolled = verticalScrollBar()->value();
            reload();
            verticalScrollBar()->setValue(scrolled);
        });
    }

    QVariant loadResource(int type, const QUrl& name) override {
        const QVariant resource = QTextBrowser::loadResource(type, name);
        if (type != QTextDocument::ImageResource) return resource;
        QImage image = resource.value<QImage>();
        if (image.isNull()) image.loadFromData(resource.toByteArray());
        // Room for the scroll bar a long page brings, whether it is there yet or not.
        const int scrollBar =
            verticalScrollBar()->isVisible() ? 0 : style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        const int room =
            viewport()->width() - scrollBar - 2 * static_cast<int>(document()->documentMargin());
        if (image.isNull() || room < 100 || image.width() <= room) return resource;
        return image.scaledToWidth(room, Qt::SmoothTransformation);
    }

  protected:
    void resizeEvent(QResizeEvent* event) override {
        QTextBrowser::resizeEvent(event);
        if (event->oldSize().width() != event->size().width() && !source().isEmpty())
            relayout_.start();
    }

  private:
    QTimer relayout_;
};

}  // namespace

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QStringLiteral("Tunewell QZ Help"));
    browser_ = new FittingBrowser(this);
    browser_->setObjectName(QStringLiteral("helpBrowser"));
    browser_->setOpenExternalLinks(true);

    auto* contents = new QPushButton(QStringLiteral("&Contents"), this);
    auto* back = new QPushButton(QStringLiteral("&Back"), this);
    auto* forward = new QPushButton(QStringLiteral("&Forward"), this);
    connect(contents, &QPushButton::clicked, browser_, &QTextBrowser::home);
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
    back->setEnabled(false);
    forward->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser_);
    resize(760, 620);
}

void HelpViewer::openContents(const QString& path) {
    if (QFileInfo::exists(path)) {
        browser_->setSource(QUrl::fromLocalFile(path));
    } else {
        browser_->setHtml(
            QStringLiteral("<h2>Help not found</h2><p>The help file <tt>%1</tt> could "
                           "not be found. Reinstall Tunewell QZ to restore it.</p>")
                .arg(path.toHtmlEscaped()));
    }
    show();
    raise();
    activateWindow();
}

}  // namespace qz
