-- Greets every player who joins
addhook("join", "greet_join")
function greet_join(id)
	msg2(id, "©000255000Welcome, "..player(id, "name").."!")
	if player(id, "team") == 1 then
		parse('hudtxt2 '..id..' 1 "Hi" 10 20')
	end
end

timer(5000, "announce", "", 0)
function announce()
	msg("©255000000Server restarts soon") -- red
end
