#include "demo/main_window.h"

#include <QTabWidget>
#include <QVBoxLayout>

#include "demo/component_client.h"
#include "demo/notes_window.h"
#include "demo/pages/advanced_math_page.h"
#include "demo/pages/comparison_page.h"
#include "demo/pages/conversion_page.h"
#include "demo/pages/data_types_page.h"
#include "demo/pages/pitch_page.h"
#include "demo/pages/simple_arithmetic_page.h"
#include "demo/pages/trig_page.h"

namespace numeron::demo {

MainWindow::MainWindow(std::unique_ptr<ComponentClient> numeron9, MessageSink& messages)
    : numeron9_(std::move(numeron9)) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Testing the Numeron Control From Orrindale"));
  setAttribute(Qt::WA_DeleteOnClose);

  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("SSTab1"));
  tabs_->addTab(new SimpleArithmeticPage(*numeron9_, messages),
                QStringLiteral("Simple Arithmitic"));
  tabs_->addTab(new AdvancedMathPage(*numeron9_, messages, [this] { ShowNotes(); }),
                QStringLiteral("Advanced Math"));
  tabs_->addTab(new DataTypesPage, QStringLiteral("Numeron Data Types"));
  tabs_->addTab(new ConversionPage(*numeron9_, messages), QStringLiteral("Conversion Functions"));
  tabs_->addTab(new TrigPage(*numeron9_, messages), QStringLiteral("Trig Functions"));
  tabs_->addTab(new ComparisonPage(*numeron9_, messages), QStringLiteral("Comparison Functions"));
  tabs_->addTab(new PitchPage, QStringLiteral("The Pitch"));
  tabs_->setCurrentIndex(0);
  // One row of tabs, all of them in view: the window is at least as wide as the row.
  tabs_->setUsesScrollButtons(false);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  resize(sizeHint().expandedTo({800, 520}));
}

MainWindow::~MainWindow() {
  // The pages call Numeron9; they go first, the component after them.
  delete tabs_;
}

void MainWindow::ShowNotes() {
  // The notes window has no parent: it stays open when this window closes.
  if (!notes_) notes_ = new NotesWindow;
  notes_->show();
  notes_->raise();
  notes_->activateWindow();
}

}  // namespace numeron::demo
