# fish completion for ostrel-widgets

set -l subcommands check timeline entry snapshot placeholder tree render gallery watch host
set -l widgets NextUp:systemSmall NextUp:systemMedium DueSoon:systemMedium DueSoon:systemLarge

complete -c ostrel-widgets -f
complete -c ostrel-widgets -n "not __fish_seen_subcommand_from $subcommands" -l help -d 'Print help'
complete -c ostrel-widgets -n "not __fish_seen_subcommand_from $subcommands" -l version -d 'Print the version'
complete -c ostrel-widgets -n "not __fish_seen_subcommand_from $subcommands" -a check -d 'Check a feed document'
complete -c ostrel-widgets -n "not __fish_seen_subcommand_from $subcommands" -a timeline -d 'Print the timeline'
complete -c ostrel-widgets -n "not __fish_seen_subcommand_from $subcommands" -a entry -d 'Print the entry for one instant'
complete -c ostrel-widgets -n "not __fish_seen_subcommand_from $subcommands" -a snapshot -d 'Print the snapshot entry'
complete -c ostrel-widgets -n "not __fish_seen_subcommand_from $subcommands" -a placeholder -d 'Print the placeholder entry'
complete -c ostrel-widgets -n "not __fish_seen_subcommand_from $subcommands" -a tree -d 'Print the view tree of one face'
complete -c ostrel-widgets -n "not __fish_seen_subcommand_from $subcommands" -a render -d 'Draw one face to PNG or SVG'
complete -c ostrel-widgets -n "not __fish_seen_subcommand_from $subcommands" -a gallery -d 'Draw the widget picker sheet'
complete -c ostrel-widgets -n "not __fish_seen_subcommand_from $subcommands" -a watch -d 'Keep faces current'
complete -c ostrel-widgets -n "not __fish_seen_subcommand_from $subcommands" -a host -d 'Show the widgets on the desktop'

# Which subcommands take an option.
function __ostrel_widgets_in
    __fish_seen_subcommand_from $argv
end

complete -c ostrel-widgets -n "__ostrel_widgets_in check timeline entry snapshot tree render gallery watch host" -l feed -r -F -d 'Feed document to read'
complete -c ostrel-widgets -n "__ostrel_widgets_in check" -F
complete -c ostrel-widgets -n "__ostrel_widgets_in timeline snapshot placeholder tree render gallery watch host" -l now -x -d 'Pin the clock (ISO 8601)'
complete -c ostrel-widgets -n "__ostrel_widgets_in timeline entry snapshot placeholder tree render gallery watch host" -l tz -x -d 'Time zone'
complete -c ostrel-widgets -n "__ostrel_widgets_in tree render gallery watch host" -l locale -x -d 'Locale of dates and times'
complete -c ostrel-widgets -n "__ostrel_widgets_in timeline entry snapshot placeholder tree" -l json -d 'Print JSON'
complete -c ostrel-widgets -n "__ostrel_widgets_in entry tree render gallery" -l at -x -d "The entry's date (ISO 8601)"
complete -c ostrel-widgets -n "__ostrel_widgets_in snapshot" -l preview -d "Ask as the gallery's preview does"
complete -c ostrel-widgets -n "__ostrel_widgets_in tree render" -l kind -x -a 'NextUp DueSoon' -d 'The widget'
complete -c ostrel-widgets -n "__ostrel_widgets_in tree render" -l family -x -a 'systemSmall systemMedium systemLarge' -d 'The size family'
complete -c ostrel-widgets -n "__ostrel_widgets_in tree render watch" -l scheme -x -a 'light dark' -d 'The appearance'
complete -c ostrel-widgets -n "__ostrel_widgets_in host" -l scheme -x -a 'auto light dark' -d 'The appearance'
complete -c ostrel-widgets -n "__ostrel_widgets_in tree render gallery" -l sample -d 'Show the sample feed'
complete -c ostrel-widgets -n "__ostrel_widgets_in tree render gallery" -l macos -x -a '13 14' -d 'System version of the background'
complete -c ostrel-widgets -n "__ostrel_widgets_in render gallery" -s o -l output -r -F -d 'The file to write (.png or .svg)'
complete -c ostrel-widgets -n "__ostrel_widgets_in render gallery watch" -l scale -x -d 'Device pixels per point'
complete -c ostrel-widgets -n "__ostrel_widgets_in watch host" -l widget -x -a "$widgets" -d 'A widget to show'
complete -c ostrel-widgets -n "__ostrel_widgets_in watch" -l png-dir -x -a '(__fish_complete_directories)' -d 'Folder of the PNG files'
complete -c ostrel-widgets -n "__ostrel_widgets_in watch" -l format -x -a 'text short json waybar' -d 'One line per changed face'
complete -c ostrel-widgets -n "__ostrel_widgets_in watch host" -l speed -x -a max -d 'Clock speed'
complete -c ostrel-widgets -n "__ostrel_widgets_in watch host" -l until -x -d 'Stop at this instant'
complete -c ostrel-widgets -n "__ostrel_widgets_in host" -l corner -x -a 'top-left top-right bottom-left bottom-right' -d 'The corner'
complete -c ostrel-widgets -n "__ostrel_widgets_in host" -l margin -x -d 'Points from the edges'
complete -c ostrel-widgets -n "__ostrel_widgets_in host" -l gap -x -d 'Points between widgets'
complete -c ostrel-widgets -n "__ostrel_widgets_in host" -l monitor -x -d 'Connector name or number'
complete -c ostrel-widgets -n "__ostrel_widgets_in host" -l install-autostart -d 'Start with the session'
complete -c ostrel-widgets -n "__ostrel_widgets_in host" -l remove-autostart -d 'Remove the autostart entry'
complete -c ostrel-widgets -n "__ostrel_widgets_in host" -l quit -d 'End the running host'
complete -c ostrel-widgets -n "__ostrel_widgets_in host" -l replace -d 'Replace the running host'
