#include "window/status_message.h"

const char* statusMessageText(int index) {
  switch (index) {
    case kStatusPleaseWait: return "Please wait ...";
    case kStatusIncorrectParameters: return "Incorrect transponder parameters.";
    case kStatusInvalidFrequency: return "Invalid transponder frequency.";
    case kStatusInvalidPolarisation: return "Invalid polarisation.";
    case kStatusInvalidSymbolRate: return "Invalid symbol rate.";
    case kStatusCannotWatch: return "Cannot start watching.";
    default: return "";
  }
}
