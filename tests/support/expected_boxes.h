#pragma once

// Every message box of the program as the user must see it, written down for the tests on
// their own (not taken from the program's code).
#include "runtime/msgbox.h"

#include <string>

namespace clearmark::expected {

using runtime::MsgBoxRequest;
using runtime::MsgButtons;
using runtime::MsgIcon;

inline const MsgBoxRequest kShimSizes{
    "Triumph shims come in 0.025mm increments from 2.00 to 3.20mm in 0.025mm increments. "
    "Adjust the approx. size above accordingly to match the available shim sizes.",
    "Please Adjust your new shim size as follows (for Triumph Motorcycles):", MsgButtons::OK,
    MsgIcon::Exclamation};
inline const MsgBoxRequest kBadData{"Bad data", "Error", MsgButtons::OK, MsgIcon::Critical};
inline const MsgBoxRequest kExit{"Are you sure you want to Exit program", "EXIT Program",
                                 MsgButtons::OKCancel, MsgIcon::Information};
inline const MsgBoxRequest kNoData{"No data", "Please Enter Data", MsgButtons::OK, MsgIcon::None};
inline const MsgBoxRequest kConvertBadData{"Bad data", "Please Enter Data", MsgButtons::OK,
                                           MsgIcon::None};
inline const MsgBoxRequest kNoDataToCopy{"No Data to Copy", "Error No Data", MsgButtons::OK,
                                         MsgIcon::None};
inline const MsgBoxRequest kUnavailable{"System Information Is Unavailable At This Time",
                                        "Clearmark", MsgButtons::OK, MsgIcon::None};

inline const MsgBoxRequest kCopyFailed{
    "The text could not be copied: another program is holding the clipboard. Nothing was "
    "copied; please try again.",
    "Clearmark", MsgButtons::OK, MsgIcon::Exclamation};

inline MsgBoxRequest goodDataToCopy(const std::string& data) {
    return {"Good data to copy. Data =  " + data, "Clearmark", MsgButtons::OK, MsgIcon::None};
}

// The help text, written down here on its own: five paragraphs, the first four each followed
// by a run of blanks.
inline const char* const kHelpParagraphs[] = {
    "Enter the measured valve clearance (in Millimeters) in the Measured gap box.",
    "Enter the measured Original shim width into the Original Shim box.",
    "(These values may also be pasted from the converter)",
    ("Selecting either the Intake (0.175mm) or Exhaust (0.275mm) default buttons will enter the "
     "default AVERAGE values for Triumph Bonneville, Bonneville America, T-100 or Speedmaster "
     "specifications."),
    ("This value can be changed for averages you wish or for other makes or models of "
     "motorcycle valve shim calculations.")};

} // namespace clearmark::expected
