# Writes the desktop entry of an installation: it names the program and its
# icon by their absolute paths under the prefix the installation went to.
set(prefix "${CMAKE_INSTALL_PREFIX}")
# Inside a quoted Exec argument these four characters take a backslash, and
# the entry's own string rules double every backslash again.
set(exec "${prefix}/kelmira")
foreach(special "\\" "\"" "`" "$")
  string(REPLACE "${special}" "\\${special}" exec "${exec}")
endforeach()
string(REPLACE "\\" "\\\\" exec "${exec}")
set(KELMIRA_EXEC "\"${exec}\"")
set(KELMIRA_ICON "${prefix}/kelmira.svg")
configure_file("${KELMIRA_DESKTOP_TEMPLATE}" "$ENV{DESTDIR}${prefix}/kelmira.desktop" @ONLY)
message(STATUS "Installing: $ENV{DESTDIR}${prefix}/kelmira.desktop")
