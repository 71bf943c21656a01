# nlohmann-json (Debian's nlohmann-json3-dev, header-only) as nlohmann_json::nlohmann_json.
# The cross build cannot take Debian's /usr/include, whose C headers would shadow MinGW's: it
# gets a folder of its own holding only a link to the library's nlohmann/ folder.
if(NOT CMAKE_CROSSCOMPILING)
    find_package(nlohmann_json 3 REQUIRED)
    return()
endif()
find_path(CLEARMARK_NLOHMANN_JSON_ROOT nlohmann/json.hpp
          PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(nlohmann_include ${CMAKE_BINARY_DIR}/nlohmann-json/include)
file(MAKE_DIRECTORY ${nlohmann_include})
file(CREATE_LINK ${CLEARMARK_NLOHMANN_JSON_ROOT}/nlohmann ${nlohmann_include}/nlohmann SYMBOLIC)
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
                      INTERFACE_INCLUDE_DIRECTORIES ${nlohmann_include}
                      INTERFACE_SYSTEM_INCLUDE_DIRECTORIES ${nlohmann_include})
