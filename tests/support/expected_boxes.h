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

inline MsgBoxRequest goodDataToCopy(const std::string& data) {
    return {"Good data to copy. Data =  " + data, "Clearmark", MsgButtons::OK, MsgIcon::None};
}

} // namespace clearmark::expected
