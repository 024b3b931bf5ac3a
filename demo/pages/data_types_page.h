// The page on Numeron's own number kinds: text only.
#pragma once

#include <QWidget>

namespace numeron::demo {

class DataTypesPage : public QWidget {
 public:
  explicit DataTypesPage(QWidget* parent = nullptr);
};

}  // namespace numeron::demo
