#pragma once

#include <QString>
#include <QTextBrowser>
#include <QWidget>

namespace qz {

// The program's help window: the HTML help from the program's folder, opened at its
// table of contents, with links between its pages.
class HelpViewer : public QWidget {
    Q_OBJECT
  public:
    explicit HelpViewer(QWidget* parent = nullptr);

    // Shows the help file at its table of contents; a missing file is said in the window.
    void openContents(const QString& path);

    QTextBrowser* browser() const { return browser_; }

  private:
    QTextBrowser* browser_;
};

}  // namespace qz
