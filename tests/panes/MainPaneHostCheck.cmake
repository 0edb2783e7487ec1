# End to end through the settings host: a fresh device image holding the built
# bundle and its settings entry; opens Velloria and checks the main pane's rows,
# then, with one calendar file, the view type choice, the colour reset and the
# feedback action. Run with -DHOST=settings-host -DBUILD=build tree
# -DIMAGE=scratch directory; texts are compared in English.
file(REMOVE_RECURSE ${IMAGE})
set(prefs ${IMAGE}/var/mobile/Library/Preferences)
file(MAKE_DIRECTORY ${prefs} ${IMAGE}/var/mobile/Library/Calendars ${IMAGE}/Library/PreferenceLoader/Preferences)
file(COPY ${BUILD}/Library/PreferenceBundles DESTINATION ${IMAGE}/Library)
file(COPY ${BUILD}/Library/PreferenceLoader/Preferences/VelloriaSettings.plist
     DESTINATION ${IMAGE}/Library/PreferenceLoader/Preferences)

function(fail what)
  message(FATAL_ERROR "${what}")
endfunction()

# Runs the host with a command line; `out` gets the last line printed (dump).
function(run_host commands out)
  execute_process(COMMAND ${HOST} --root ${IMAGE} -c "${commands}"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE stdout ERROR_VARIABLE stderr TIMEOUT 60)
  if(NOT rc EQUAL 0)
    fail("settings-host -c '${commands}' failed (${rc}): ${stderr}")
  endif()
  string(STRIP "${stdout}" stdout)
  string(REGEX REPLACE ".*\n" "" stdout "${stdout}")
  set(${out} "${stdout}" PARENT_SCOPE)
endfunction()

# The index of the first row whose `field` is `value`.
function(row_index json field value out)
  string(JSON count LENGTH "${json}" rows)
  math(EXPR last "${count} - 1")
  foreach(i RANGE ${last})
    string(JSON got ERROR_VARIABLE missing GET "${json}" rows ${i} ${field})
    if(NOT missing AND got STREQUAL value)
      set(${out} ${i} PARENT_SCOPE)
      return()
    endif()
  endforeach()
  fail("no row with ${field} \"${value}\" in ${json}")
endfunction()

function(expect_row json field value check expected)
  row_index("${json}" ${field} "${value}" i)
  string(JSON got GET "${json}" rows ${i} ${check})
  if(NOT got STREQUAL expected)
    fail("row ${field}=${value}: ${check} is \"${got}\", expected \"${expected}\"")
  endif()
endfunction()

# Without calendars: the version and author rows, the calendar row disabled.
run_host("open Velloria; dump" first)
string(JSON pane GET "${first}" pane)
if(NOT pane STREQUAL "VLRPListController")
  fail("opened pane ${pane}")
endif()
expect_row("${first}" name "Version" value "1.5.1")
expect_row("${first}" name "Author" value "@quietharbor")
expect_row("${first}" id "selectcalendar" enabled "OFF")

# Another key of the domain, which no write may lose.
file(WRITE ${prefs}/com.quietharbor.velloria.plist [=[<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
	<key>keptKey</key>
	<string>kept</string>
</dict>
</plist>
]=])
file(WRITE ${IMAGE}/var/mobile/Library/Calendars/work.ics
     "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nX-WR-CALNAME:Work\r\nEND:VCALENDAR\r\n")
row_index("${first}" key "viewType" viewType)
row_index("${first}" name "Reset Colours" reset)
row_index("${first}" name "Feedback" feedback)
run_host("open Velloria; choose ${viewType} 1; tap ${reset}; tap ${feedback}; dump" second)
expect_row("${second}" id "selectcalendar" enabled "ON")
expect_row("${second}" key "viewType" value "1")
string(JSON opened GET "${second}" opened 0)
if(NOT opened STREQUAL "cydia://package/com.quietharbor.velloria")
  fail("opened ${opened}")
endif()

file(READ ${prefs}/com.quietharbor.velloria.plist domain)
file(READ ${BUILD}/Library/PreferenceBundles/VelloriaSettings.bundle/ColorSettings.plist colorSettings)
string(REGEX MATCHALL "<key>key</key>[ \t\r\n]*<string>[A-Za-z]+</string>" colorKeys "${colorSettings}")
foreach(expected "<key>keptKey</key>" "<key>viewType</key>" ${colorKeys})
  string(REGEX REPLACE ".*<string>(.*)</string>" "<key>\\1</key>" expected "${expected}")
  string(FIND "${domain}" "${expected}" at)
  if(at EQUAL -1)
    fail("the preference domain lacks ${expected}:\n${domain}")
  endif()
endforeach()
file(REMOVE_RECURSE ${IMAGE})
