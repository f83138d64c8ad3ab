# Fails when a file of the portable core includes what only the platform
# layer may: the Win32 headers, Qt, or the platform layer's own insides.
# Run as: cmake -DROOT=<source dir> -P check_includes.cmake
set(forbidden
  "<(windows|winbase|winuser|shellapi|shlobj|commctrl|windowsx)\\.h>"
  "<Q[A-Za-z]+>"
  "<qt?[a-z]*/"
  "\"platform/(win32|posix|qt|shared)/"
)
set(offences "")
foreach(folder text settings actions app/common)
  file(GLOB_RECURSE files "${ROOT}/${folder}/*.h" "${ROOT}/${folder}/*.cpp")
  foreach(file ${files})
    file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include")
    foreach(line ${includes})
      foreach(pattern ${forbidden})
        if(line MATCHES "${pattern}")
          file(RELATIVE_PATH name "${ROOT}" "${file}")
          string(APPEND offences "  ${name}: ${line}\n")
        endif()
      endforeach()
    endforeach()
  endforeach()
endforeach()
if(offences)
  message(FATAL_ERROR "The core reaches past the platform layer:\n${offences}")
endif()
