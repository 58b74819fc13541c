while true do
		 	x = x ? y ` z

   
name = "café" .. café
--[[ start of a long comment
this line is not a comment
]]
	return	-- tab before
