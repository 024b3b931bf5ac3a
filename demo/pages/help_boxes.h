// The two help boxes behind the "?" buttons of the advanced math and trigonometry pages.
#pragma once

namespace numeron::demo {

class MessageSink;

void ShowPrecisionHelp(MessageSink& messages);
void ShowSeriesLengthHelp(MessageSink& messages);

}  // namespace numeron::demo
