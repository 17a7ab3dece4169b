# The tool bar under GTK's platform theme, as Debian's Qt shows it on GNOME,
# in GTK's light and dark Adwaita, on a virtual X display: the desktop's own
# font at the default width, and the theme's own palette behind the icons.
# libxkbcommon-x11 reads the X server's key names with strndup() past their
# end, which AddressSanitizer's strict string checks report; the rest of the
# options are the suite's.
find_program(XVFB_RUN xvfb-run REQUIRED)
foreach(variant IN ITEMS Adwaita Adwaita:dark)
    string(REPLACE ":" "_" name ${variant})
    add_test(NAME app_tool_bar_gtk_${name}
             COMMAND ${XVFB_RUN} -a -s "-screen 0 1280x1024x24"
                     env ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=0
                     QT_QPA_PLATFORM=xcb QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=${variant}
                     $<TARGET_FILE:test_app_tool_bar>
                     "--gtest_filter=*EveryButtonShowsAtTheDefaultWidth/0:*/Platform")
endforeach()
