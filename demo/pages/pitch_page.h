// The closing page: a few words on the rest of Numeron and two pictures.
#pragma once

#include <QWidget>

namespace numeron::demo {

class PitchPage : public QWidget {
 public:
  explicit PitchPage(QWidget* parent = nullptr);
};

}  // namespace numeron::demo
