# Renders the manual: cmark turns the Markdown into HTML, and this script
# gives every h2, h3 and h4 heading the id that GitHub gives it (so the
# manual's own links work in both places), adds a table of contents of the h2
# and h3 headings, and puts the whole into a page with our stylesheet.
#   cmake -DCMARK=cmark -DSOURCE=manual.md -DOUTPUT=index.html -P render_manual.cmake

cmake_minimum_required(VERSION 3.25)

execute_process(COMMAND ${CMARK} --unsafe ${SOURCE}
  OUTPUT_VARIABLE body RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmark failed on ${SOURCE}")
endif()

# The ids follow GitHub: tags and entities dropped, lower case, punctuation
# other than "-" and "_" removed, blanks turned into "-".
function(heading_id text out)
  string(REGEX REPLACE "<[^>]*>" "" text "${text}")
  string(REGEX REPLACE "&[a-z]+;" "" text "${text}")
  string(TOLOWER "${text}" text)
  string(REGEX REPLACE "[^a-z0-9 _-]" "" text "${text}")
  string(REPLACE " " "-" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Walks the headings by position; no CMake lists, since the HTML holds ";".
set(rest "${body}")
set(page "")
set(toc "")
set(title "Scrivlet manual")
set(in_sublist FALSE)
while(TRUE)
  set(at -1)
  foreach(candidate 2 3 4)
    string(FIND "${rest}" "<h${candidate}>" found)
    if(NOT found EQUAL -1 AND (at EQUAL -1 OR found LESS at))
      set(at ${found})
      set(level ${candidate})
    endif()
  endforeach()
  if(at EQUAL -1)
    break()
  endif()
  string(SUBSTRING "${rest}" 0 ${at} before)
  string(APPEND page "${before}")
  math(EXPR text_start "${at} + 4")
  string(SUBSTRING "${rest}" ${text_start} -1 rest)
  string(FIND "${rest}" "</h${level}>" end)
  string(SUBSTRING "${rest}" 0 ${end} text)
  math(EXPR after "${end} + 5")
  string(SUBSTRING "${rest}" ${after} -1 rest)
  heading_id("${text}" id)
  string(APPEND page "<h${level} id=\"${id}\"><a class=\"anchor\" href=\"#${id}\">${text}</a></h${level}>")
  if(level EQUAL 4)
    # Linked to, but too many for the contents.
  elseif(level EQUAL 2)
    if(in_sublist)
      string(APPEND toc "</ul>")
      set(in_sublist FALSE)
    endif()
    if(NOT toc STREQUAL "")
      string(APPEND toc "</li>\n")
    endif()
    string(APPEND toc "<li><a href=\"#${id}\">${text}</a>")
  else()
    if(NOT in_sublist)
      string(APPEND toc "<ul>")
      set(in_sublist TRUE)
    endif()
    string(APPEND toc "<li><a href=\"#${id}\">${text}</a></li>")
  endif()
endwhile()
string(APPEND page "${rest}")
if(in_sublist)
  string(APPEND toc "</ul>")
endif()
if(NOT toc STREQUAL "")
  string(APPEND toc "</li>\n")
endif()

# The contents go after the first heading (the manual's title) and its
# introduction, before the first chapter.
string(FIND "${page}" "<h2 " first_chapter)
if(first_chapter EQUAL -1)
  set(first_chapter 0)
endif()
string(SUBSTRING "${page}" 0 ${first_chapter} intro)
string(SUBSTRING "${page}" ${first_chapter} -1 chapters)

file(WRITE ${OUTPUT} "<!DOCTYPE html>
<html lang=\"en\">
<head>
<meta charset=\"utf-8\">
<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">
<title>${title}</title>
<link rel=\"stylesheet\" href=\"manual.css\">
</head>
<body>
<nav class=\"toc\" aria-label=\"Contents\">
<p class=\"toc-title\">Contents</p>
<ul>
${toc}</ul>
</nav>
<main>
${intro}<nav class=\"toc-inline\" aria-label=\"Contents\">
<p class=\"toc-title\">Contents</p>
<ul>
${toc}</ul>
</nav>
${chapters}</main>
</body>
</html>
")
