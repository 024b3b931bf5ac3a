#include "demo/pages/help_boxes.h"

#include "demo/message_sink.h"

namespace numeron::demo {

void ShowPrecisionHelp(MessageSink& messages) {
  messages.Show(
      {QStringLiteral("Precision indicates the level of decimal precision in a value returned by a "
                      "function (the precision corresponds with the number of digits after the "
                      "decimal point)."),
       QStringLiteral("Precision"), MessageIcon::Information});
}

void ShowSeriesLengthHelp(MessageSink& messages) {
  messages.Show(
      {QStringLiteral(
           "The series length is the number of 'items' in a series to process.  Many functions "
           "(i.e., the function for finding logarithms) utilize an infinite series.  By "
           "increasing the series length, you increase the number of members (items) in the "
           "series that will be computed and then added together.  In general, the more "
           "precision you desire, the higher the series length should be.  Setting this value "
           "too low will lead to incorrect values."),
       QStringLiteral("Series length"), MessageIcon::Information});
}

}  // namespace numeron::demo
