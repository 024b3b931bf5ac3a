#include "demo/main_window.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

#include "demo/component_client.h"
#include "demo/message_sink.h"
#include "demo/notes_window.h"
#include "demo/page_tabs.h"
#include "demo/pages/advanced_math_page.h"
#include "demo/pages/comparison_page.h"
#include "demo/pages/conversion_page.h"
#include "demo/pages/data_types_page.h"
#include "demo/pages/pitch_page.h"
#include "demo/pages/simple_arithmetic_page.h"
#include "demo/pages/trig_page.h"
#include "platform/registry.h"

namespace numeron::demo {

namespace {

constexpr int kProgressSteps = 1000;
constexpr int kProgressMilliseconds = 100;

}  // namespace

MainWindow::MainWindow(std::unique_ptr<ComponentClient> numeron9, MessageSink& messages)
    : numeron9_(std::move(numeron9)), messages_(messages) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Testing the Numeron Control From Orrindale"));
  setWindowIcon(QIcon(QStringLiteral(":/pictures/icon.svg")));
  setAttribute(Qt::WA_DeleteOnClose);

  auto* menus = new QMenuBar(this);
  QAction* quit = menus->addMenu(QStringLiteral("&File"))
                      ->addAction(QStringLiteral("&Quit"), qApp, &QApplication::closeAllWindows);
  quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  addAction(quit);  // the shortcut works wherever the focus is in this window
  menus->addMenu(QStringLiteral("&Help"))
      ->addAction(QStringLiteral("&About NumeronTest"), this, [this] { ShowAbout(); });

  tabs_ = new PageTabs(this);
  tabs_->setObjectName(QStringLiteral("SSTab1"));
  tabs_->AddPage(new SimpleArithmeticPage(*numeron9_, messages),
                 QStringLiteral("Simple Arithmitic"));
  tabs_->AddPage(new AdvancedMathPage(*numeron9_, messages, [this] { ShowNotes(); }),
                 QStringLiteral("Advanced Math"));
  tabs_->AddPage(new DataTypesPage, QStringLiteral("Numeron Data Types"));
  tabs_->AddPage(new ConversionPage(*numeron9_, messages), QStringLiteral("Conversion Functions"));
  tabs_->AddPage(new TrigPage(*numeron9_, messages), QStringLiteral("Trig Functions"));
  tabs_->AddPage(new ComparisonPage(*numeron9_, messages), QStringLiteral("Comparison Functions"));
  tabs_->AddPage(new PitchPage, QStringLiteral("The Pitch"));

  call_state_ = new QLabel(this);
  call_state_->setObjectName(QStringLiteral("CallState"));
  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("Progress"));
  progress_->setRange(0, kProgressSteps);
  progress_->setValue(0);
  cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  cancel_->setObjectName(QStringLiteral("Cancel"));
  cancel_->setToolTip(QStringLiteral("Stop the running calculation (Esc)"));
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, cancel_, &QPushButton::click);
  connect(cancel_, &QPushButton::clicked, this, [this] { numeron9_->Cancel(); });
  progress_timer_ = new QTimer(this);
  progress_timer_->setInterval(kProgressMilliseconds);
  connect(progress_timer_, &QTimer::timeout, this, [this] { ShowCallState(true); });
  numeron9_->OnBusyChanged([this](bool busy) { ShowCallState(busy); });
  ShowCallState(false);

  auto* call_row = new QHBoxLayout;
  call_row->addWidget(call_state_, 1);
  call_row->addWidget(progress_, 1);
  call_row->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->setMenuBar(menus);
  layout->addWidget(tabs_, 1);
  layout->addLayout(call_row);
  // Room for the tallest page without scrolling, where the screen has it.
  resize(QSize(880, 700).boundedTo(QGuiApplication::primaryScreen()->availableSize()));
}

MainWindow::~MainWindow() {
  // The pages call Numeron9; they go first, the component after them.
  delete tabs_;
}

void MainWindow::ShowCallState(bool busy) {
  cancel_->setEnabled(busy);
  progress_->setEnabled(busy);
  progress_->setTextVisible(busy);
  if (!busy) {
    progress_timer_->stop();
    progress_->setRange(0, kProgressSteps);
    progress_->setValue(0);
    call_state_->setText(numeron9_->last_cancelled() ? QStringLiteral("Cancelled") : QString());
    return;
  }
  progress_timer_->start();
  call_state_->setText(QStringLiteral("Calculating %1...").arg(numeron9_->RunningMember()));
  // Without a fraction from the component, the bar only says that work goes on.
  const std::optional<double> done = numeron9_->Progress();
  progress_->setRange(0, done ? kProgressSteps : 0);
  if (done) progress_->setValue(static_cast<int>(*done * kProgressSteps));
}

void MainWindow::ShowNotes() {
  // The notes window has no parent: it stays open when this window closes.
  if (!notes_) notes_ = new NotesWindow;
  notes_->show();
  notes_->raise();
  notes_->activateWindow();
}

void MainWindow::ShowAbout() {
  std::string why;
  const std::optional<platform::Registration> registration =
      platform::LookUpClass(client::kProgId, &why);
  const platform::TypeLibrary& library = numeron9_->type_library();
  messages_.Show(
      {QStringLiteral("NumeronTest %1\n\nThe Numeron component (%2, type library %3 %4) comes "
                      "from\n%5")
           .arg(QStringLiteral(NUMERON_VERSION), QString::fromLatin1(client::kProgId),
                QString::fromLatin1(library.name.data(), library.name.size()),
                QString::fromLatin1(library.version.data(), library.version.size()),
                registration ? QString::fromStdString(registration->library_path)
                             : QString::fromStdString(why)),
       QStringLiteral("About NumeronTest"), MessageIcon::Information});
}

}  // namespace numeron::demo
