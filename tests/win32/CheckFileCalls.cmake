# Fails when a Win32 call that names a file by its path is made anywhere but in
# platform/win32/FileCalls.cpp, the one place that gives paths the form beyond 260 characters.
set(calls "CreateFile[AW2]?|CreateFileTransacted[AW]|FindFirstFile(Ex)?[AW]?|GetFileAttributes(Ex)?[AW]?|SetFileAttributes[AW]?"
          "|CreateDirectory(Ex)?[AW]?|RemoveDirectory[AW]?|DeleteFile[AW]?|MoveFile(Ex|WithProgress)?[AW]?"
          "|CopyFile(Ex|2)?[AW]?|ReplaceFile[AW]?|CreateHardLink[AW]?|CreateSymbolicLink[AW]?|GetFullPathName[AW]?"
          "|GetLongPathName[AW]?|GetShortPathName[AW]?|OpenFile|_wfopen|_wopen")
string(JOIN "" calls ${calls})
file(GLOB_RECURSE sources ${ROOT}/platform/*.cpp ${ROOT}/platform/*.h ${ROOT}/shell/*.cpp ${ROOT}/shell/*.h
     ${ROOT}/chooser/*.cpp ${ROOT}/chooser/*.h ${ROOT}/win32ui/*.cpp ${ROOT}/win32ui/*.h ${ROOT}/app/*.cpp
     ${ROOT}/discovery/*.cpp ${ROOT}/discovery/*.h ${ROOT}/cli/*.cpp ${ROOT}/cli/*.h ${ROOT}/engine/*.cpp ${ROOT}/engine/*.h)
list(REMOVE_ITEM sources ${ROOT}/platform/win32/FileCalls.cpp)
set(found "")
foreach(source ${sources})
  file(STRINGS ${source} lines REGEX "(^|[^A-Za-z0-9_])(${calls})[ \t]*\\(")
  foreach(line ${lines})
    string(APPEND found "\n  ${source}: ${line}")
  endforeach()
endforeach()
if(found)
  message(FATAL_ERROR "Win32 file calls outside platform/win32/FileCalls.cpp:${found}")
endif()
list(LENGTH sources count)
if(count LESS 50)
  message(FATAL_ERROR "only ${count} sources found under ${ROOT}")
endif()
