# The version the programs report: the project's one version number, and the commit when built from
# a git checkout ("0.1.0 (git 61b550e1f2a3)"). A new commit configures again, so the text stays true.
set(OSTREL_VERSION_TEXT ${PROJECT_VERSION})
find_package(Git QUIET)
if(GIT_FOUND AND EXISTS ${PROJECT_SOURCE_DIR}/.git)
  execute_process(
    COMMAND ${GIT_EXECUTABLE} rev-parse --short=12 HEAD
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    OUTPUT_VARIABLE ostrel_commit
    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET
    RESULT_VARIABLE ostrel_git_failed)
  if(NOT ostrel_git_failed)
    set(OSTREL_VERSION_TEXT "${PROJECT_VERSION} (git ${ostrel_commit})")
    # HEAD and the branch it names change with each commit.
    foreach(ref HEAD logs/HEAD)
      execute_process(
        COMMAND ${GIT_EXECUTABLE} rev-parse --path-format=absolute --git-path ${ref}
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        OUTPUT_VARIABLE ref_file
        OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
      if(EXISTS "${ref_file}")
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${ref_file}")
      endif()
    endforeach()
  endif()
endif()
